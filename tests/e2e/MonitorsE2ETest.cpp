// The show on several monitors (--monitors), on an X server whose monitors
// are plugged in and out during the show: each monitor its own entry, or
// every monitor the primary's picture.

#include <QElapsedTimer>
#include <QThread>

#include "ShowE2E.h"
#include "support/DummyMonitors.h"
#include "support/WaylandTools.h"

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
            entries << EntrySpec{name, "CURRDIR", {}, {}};
        }
        CollectionSpec spec;
        spec.runAs = "SCREENSAVER_NOMOUSEMOVE";
        spec.entries = entries;
        WriteBytes(program_.file("ZORScr.INI"), CollectionText(spec));
    }
    // Which of the clips' colours the middle of monitor shows, once it shows
    // one (other than but, within 15 s); -1 for none.
    int ClipOn(int monitor, int but = -1) const {
        QElapsedTimer clock;
        clock.start();
        for (; clock.elapsed() < 15000; QThread::msleep(50)) {
            const QColor seen = probe_.At(kMonitor[monitor].center().x(), kMonitor[monitor].center().y());
            for (int clip = 0; clip < 3; ++clip)
                if (clip != but && VirtualDisplay::Near(seen, kClips[clip])) return clip;
        }
        return -1;
    }

    QString Xdotool(const QStringList& arguments) const {
        const auto tool = StartOn(monitors_.name(), "xdotool", arguments);
        tool->waitForFinished();
        return QString::fromLatin1(tool->readAllStandardOutput());
    }
    // The window of that title, waited for up to 10 s: its id and its left edge, or "" and 0.
    std::pair<QString, int> WaitForWindow(const QString& title) const {
        for (int tries = 0; tries < 100; ++tries, QThread::msleep(100)) {
            const QString id = Xdotool({"search", "--onlyvisible", "--name", title}).section(u'\n', 0, 0).trimmed();
            if (!id.isEmpty()) return {id, Xdotool({"getwindowgeometry", "--shell", id}).section("X=", 1).section(u'\n', 0, 0).toInt()};
        }
        return {};
    }

    DummyMonitors monitors_{3 * kWide, kHigh};
    InstalledProgram program_{monitors_.name()};
    PixelProbe probe_{monitors_.name()};
};

// Red and blue play 30 s, green 5 s: the second monitor, one entry on,
// plays green to its end and steps on by itself to the entry nobody shows.
TEST_F(MonitorsE2E, EachMonitorShowsItsOwnEntryAsMonitorsComeAndGo) {
    const auto show = program_.Start({"--monitors", "each", "/S"});
    EXPECT_EQ(ClipOn(0), 0);
    EXPECT_EQ(ClipOn(1), 1);
    EXPECT_EQ(ClipOn(1, 1), 2);
    ASSERT_TRUE(monitors_.Plug(2, kMonitor[2]));
    EXPECT_EQ(ClipOn(2), 1);  // blue and red are shown: green
    ASSERT_TRUE(monitors_.Unplug(1));
    QThread::msleep(1000);
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_EQ(ClipOn(0), 0);
    // The remote control comes up on the monitor right-clicked.
    Xdotool({"mousemove", "1600", "180", "click", "3"});
    EXPECT_GE(WaitForWindow("ZOR RC").second, 2 * kWide);
}

TEST_F(MonitorsE2E, MirrorShowsThePrimaryPictureOnEveryMonitor) {
    const auto show = program_.Start({"--monitors", "mirror", "/S"});
    EXPECT_EQ(ClipOn(0), 0);
    EXPECT_EQ(ClipOn(1), 0);
    ASSERT_TRUE(monitors_.Plug(2, kMonitor[2]));
    EXPECT_EQ(ClipOn(2), 0);
}

// A host such as xscreensaver starts a copy on each monitor, in a window of
// its own: the copy on the second monitor starts one entry on.
TEST_F(MonitorsE2E, HostedCopiesStartAsManyEntriesOnAsTheirMonitorsNumber) {
    std::vector<std::unique_ptr<ChildProcess>> started;
    for (int monitor = 0; monitor < 2; ++monitor) {
        const QString title = QStringLiteral("host%1").arg(monitor);
        const QPoint at = kMonitor[monitor].topLeft() + QPoint(20, 20);
        started.push_back(StartOn(monitors_.name(), "xmessage",
                                  {"-geometry", QStringLiteral("600x320+%1+%2").arg(at.x()).arg(at.y()), "-title", title, " "}));
        const QString id = WaitForWindow(title).first;
        ASSERT_FALSE(id.isEmpty());
        started.push_back(program_.Start({"--window-id", id, "--monitors", "each"}));
    }
    EXPECT_EQ(ClipOn(0), 0);
    EXPECT_EQ(ClipOn(1), 1);
}

// On Wayland: two outputs of a headless sway, the second (800 x 600 at
// 1280,0) its own entry, then the first's picture.
TEST(MonitorsWaylandE2E, EachAndMirrorOnTwoOutputs) {
    const WaylandDisplay outputs(2);
    if (!outputs.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << outputs.problem().toStdString();
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);
    MakeClip(folder.file("green.mp4"), ColourSource(kGreen), 30);
    CollectionSpec spec;
    spec.entries = {{"clip.mp4", "CURRDIR", {}, {}}, {"green.mp4", "CURRDIR", {}, {}}};
    WriteBytes(folder.file("ZORScr.INI"), CollectionText(spec));
    GiveToNobody(folder.path());
    const QPoint second(1680, 300);
    for (const auto& [monitors, colour] : {std::pair{"each", kGreen}, {"mirror", kRed}}) {
        const auto show = outputs.Start(folder.file("ZORScr"), {"--monitors", monitors, "/S"}, folder.path());
        EXPECT_TRUE(outputs.Shows(kCentre, kRed)) << monitors;
        EXPECT_TRUE(outputs.Shows(second, colour)) << monitors;
    }
    // At half its width, the second output's 4:3 picture fits that width:
    // black above it.
    const auto show = outputs.Start(folder.file("ZORScr"), {"--monitors", "each", "/S"}, folder.path());
    ASSERT_TRUE(outputs.Shows(second, kGreen));
    outputs.Sway({"output", "HEADLESS-2", "resolution", "400x600"});
    EXPECT_TRUE(outputs.Shows({1480, 100}, Qt::black));
    EXPECT_TRUE(outputs.Shows({1480, 300}, kGreen));
}

}  // namespace
