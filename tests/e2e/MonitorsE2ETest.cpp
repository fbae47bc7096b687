// The show on monitors plugged in and out during it (--monitors; on
// Wayland: WaylandE2E), and on a display of several X screens.

#include <QThread>

#include "ShowE2E.h"

using namespace testsupport;

namespace {

constexpr int kWide = 640, kHigh = 360;  // each monitor
const QRect kMonitor[] = {{0, 0, kWide, kHigh}, {kWide, 0, kWide, kHigh}, {2 * kWide, 0, kWide, kHigh}};
const QColor kClips[] = {kRed, kGreen, kBlue};

class MonitorsE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(monitors_.Plug(0, kMonitor[0]) && monitors_.Plug(1, kMonitor[1]));
        QList<EntrySpec> entries;
        for (const auto& [name, colour] : {std::pair{"red.mp4", kRed}, {"green.mp4", kGreen}, {"blue.mp4", kBlue}}) {
            MakeClip(program_.file(name), ColourSource(colour), colour == kGreen ? 5 : 30);
            entries << Entry(name);
        }
        WriteBytes(program_.file("ZORScr.INI"), CollectionText({.runAs = "SCREENSAVER_NOMOUSEMOVE", .entries = entries}));
    }
    // Which of the clips' colours the middle of monitor shows, once it shows
    // one (other than but, within 15 s); -1 for none.
    int ClipOn(int monitor, int but = -1) const {
        int clip = -1;
        WaitUntil([&] {
            const QColor seen = probe_.At(kMonitor[monitor].center().x(), kMonitor[monitor].center().y());
            for (clip = 0; clip < 3; ++clip)
                if (clip != but && VirtualDisplay::Near(seen, kClips[clip])) return true;
            clip = -1;
            return false;
        }, 15000, 50);
        return clip;
    }

    VirtualDisplay monitors_{QSize(3 * kWide, kHigh), DUMMY_XORG_CONF};
    InstalledProgram program_{monitors_.name()};
    PixelProbe probe_{monitors_.name()};
};

// Red and blue play 30 s, green 5 s: the second monitor, one entry on,
// plays green to its end and steps on by itself to the entry nobody shows.
// Mirrored, every monitor, one plugged in too, shows the primary's entry. A
// host such as xscreensaver starts a copy on each monitor, in a window of
// its own: the copy on the second monitor starts one entry on.
TEST_F(MonitorsE2E, EachMonitorItsOwnEntryOrThePrimarysAsMonitorsComeAndGo) {
    auto show = program_.Start({"--monitors", "each", "/S"});
    EXPECT_EQ(ClipOn(0), 0);
    // The primary monitor changing its mode: the clip fills the new size
    // (a 4:3 clip in 320 x 180 reaches x = 40; in 640 x 360 it starts at 80).
    ASSERT_TRUE(monitors_.Plug(0, {0, 0, kWide / 2, kHigh / 2}));
    EXPECT_TRUE(WaitUntil([&] { return VirtualDisplay::Near(probe_.At(60, 90), kRed); }, 15000, 50));
    ASSERT_TRUE(monitors_.Plug(0, kMonitor[0]));
    EXPECT_EQ(ClipOn(1), 1);
    EXPECT_EQ(ClipOn(1, 1), 2);
    ASSERT_TRUE(monitors_.Plug(2, kMonitor[2]));
    EXPECT_EQ(ClipOn(2), 1);  // blue and red are shown: green
    ASSERT_TRUE(monitors_.Unplug(1));
    QThread::msleep(1000);
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_EQ(ClipOn(0), 0);
    // The remote control comes up on the monitor right-clicked.
    monitors_.Click({1600, 180}, 3);
    EXPECT_GE(monitors_.WaitForWindow("ZOR RC").origin.x(), 2 * kWide);

    show.reset();  // a second show would end at once
    show = program_.Start({"--monitors", "mirror", "/S"});
    ASSERT_TRUE(monitors_.Plug(1, kMonitor[1]));
    for (const int monitor : {0, 1, 2}) EXPECT_EQ(ClipOn(monitor), 0) << monitor;
    show.reset();

    std::vector<std::unique_ptr<ChildProcess>> hosted;
    for (int monitor = 0; monitor < 2; ++monitor) {
        const QRect place(kMonitor[monitor].topLeft() + QPoint(20, 20), QSize(600, 320));
        const qulonglong id = monitors_.OpenWindow(QStringLiteral("host%1").arg(monitor), place).id;
        ASSERT_NE(id, 0u);
        hosted.push_back(program_.Start({"--window-id", QString::number(id), "--monitors", "each"}));
    }
    EXPECT_EQ(ClipOn(0), 0);
    EXPECT_EQ(ClipOn(1), 1);
}

// The show plays on the primary screen; the other goes black, and a click
// there counts as a click on the show (on to the next entry), a double click
// as one click: without a window of the show there, it would reach nothing.
TEST(ScreensE2E, EveryOtherScreenIsCoveredAndTakesInput) {
    const VirtualDisplay screens({"640x480x24", "640x480x24"});
    InstalledProgram program(screens.name());
    QList<EntrySpec> entries;
    for (const auto& [name, colour] : {std::pair{"red.mp4", kRed}, {"green.mp4", kGreen}, {"blue.mp4", kBlue}}) {
        MakeClip(program.file(name), ColourSource(colour), 30);
        entries << Entry(name);
    }
    WriteBytes(program.file("ZORScr.INI"), CollectionText({.runAs = "SCREENSAVER_NOMOUSEMOVE", .entries = entries}));
    const auto show = program.Start({"/S"});
    ASSERT_TRUE(screens.Shows({320, 240}, kRed));
    EXPECT_TRUE(VirtualDisplay::Near(screens.Screen(1).pixelColor(320, 240), Qt::black));
    QThread::msleep(1500);  // a click at the very start is lost while the loop starts the first entry
    screens.Xdotool({"mousemove", "--screen", "1", "320", "240", "click", "--repeat", "2", "--delay", "60", "1"});
    EXPECT_TRUE(screens.Shows({320, 240}, kGreen, 40, 10000));
    QThread::msleep(1500);
    EXPECT_TRUE(VirtualDisplay::Near(screens.Screen().pixelColor(320, 240), kGreen)) << "the double click counted twice";
}

}  // namespace
