// The show as a native Wayland client, on a headless sway of two outputs
// (1280 x 720 at 0,0 and 800 x 600 at 1280,0); skipped where sway cannot
// run. (The starts that cannot have the display they ask for: StartupE2E.)

#include <gtest/gtest.h>

#include <QThread>
#include <csignal>

#include "e2e/ShowE2E.h"
#include "support/WaylandTools.h"

using namespace testsupport;

namespace {

const QColor kSwayGrey(0x3f, 0x3f, 0x3f);  // where sway shows no window
const QPoint kSecond(1680, 300);           // the middle of the second output

class WaylandE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (!output_.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output_.problem().toStdString();
        QFile::copy(ZORSCR_EXE, folder_.file("ZORScr"));
        MakeClip(folder_.file("red.mp4"), ColourSource(kRed), 30);
    }
    // The show of entries beside the program, as the display's user;
    // program is the program's command line run by sh.
    auto Start(const QList<EntrySpec>& entries, const QString& program, const std::map<QString, QString>& also = {}) {
        WriteBytes(folder_.file("ZORScr.INI"), CollectionText({.entries = entries}));
        GiveToNobody(folder_.path());
        return output_.Start("/bin/sh", {"-c", "exec ./ZORScr " + program}, folder_.path(), also);
    }

    const WaylandDisplay output_;
    const TempFolder folder_;
};

// With an X display beside it (as under XWayland), the show goes to
// Wayland: the clip on its output, its corners black, every other output
// black, and a typed Escape ends it as on X11. --fill: the 4:3 clip covers
// the 16:9 output, and the player's renderer has Qt's Wayland display for a
// hardware decoder's pictures; a right click calls up the remote control
// over the show, where a person can see and use it; an output plugged in
// during the show is black too (one switched on again comes the same way).
TEST_F(WaylandE2E, TheShowRunsNativelyOverEveryOutput) {
    {
        const VirtualDisplay x11;
        const auto show = Start({Entry("red.mp4")}, "/S", {{"DISPLAY", x11.name()}});
        ASSERT_TRUE(output_.Shows(kCentre, kRed)) << "the clip is not on the Wayland output";
        for (const QPoint corner : {QPoint(2, 2), QPoint(1277, 717)}) EXPECT_TRUE(output_.Shows(corner, Qt::black, 0));
        EXPECT_TRUE(output_.Shows(kSecond, Qt::black)) << "the second output is not covered";
        QThread::msleep(1500);  // input in the show's first moment is lost, as on X11 (ShowE2E)
        output_.Type("\x1b");
        EXPECT_TRUE(show->EndsCleanly());
        EXPECT_TRUE(output_.Shows(kCentre, kSwayGrey)) << "the show's window stayed";
    }
    const auto show = Start({Entry("red.mp4")}, "/S --fill 2>trace.txt", {{"ZORSCR_PLAYER_TIMING", "1"}});
    ASSERT_TRUE(output_.Shows(QPoint(2, 2), kRed)) << "the clip does not cover the output";
    EXPECT_TRUE(ReadText(folder_.file("trace.txt")).contains(QLatin1String("renderer with the Wayland display")));
    QThread::msleep(1500);
    output_.Click(kCentre, 0x111);
    QRect remote;
    ASSERT_TRUE(WaitUntil([&] { return !(remote = output_.Shown("ZOR RC")).isEmpty(); }, 10000)) << "no remote control";
    // Its skin, not the show's red, where sway says it is.
    EXPECT_TRUE(WaitUntil([&] { return !output_.Shows(remote.center(), kRed, 0); }, 5000))
        << "the remote control at " << remote.x() << ',' << remote.y() << " is behind the show";
    output_.Sway({"create_output"});
    EXPECT_TRUE(output_.Shows({3040, 540}, Qt::black)) << "an output plugged in during the show is not covered";
    EXPECT_TRUE(output_.Shows(QPoint(2, 2), kRed)) << "the show left its output";
}

// The second output its own entry (each and mirror on several monitors:
// MonitorsE2E); an output resized during the show is fitted again.
TEST_F(WaylandE2E, EachOutputItsOwnEntryFittedAsItsSizeChanges) {
    MakeClip(folder_.file("green.mp4"), ColourSource(kGreen), 30);
    const auto show = Start({Entry("red.mp4"), Entry("green.mp4")}, "--monitors each /S");
    EXPECT_TRUE(output_.Shows(kCentre, kRed));
    ASSERT_TRUE(output_.Shows(kSecond, kGreen));
    // At half its width, the second output's 4:3 picture fits that width: black above it.
    output_.Sway({"output", "HEADLESS-2", "resolution", "400x600"});
    EXPECT_TRUE(output_.Shows({1480, 100}, Qt::black));
    EXPECT_TRUE(output_.Shows({1480, 300}, kGreen));
}

// The idle mode: the compositor says when the session is idle.
TEST_F(WaylandE2E, TheIdleModeShowsAfterIdlenessUntilInput) {
    const auto idle = Start({Entry("red.mp4")}, "--idle 2");
    ASSERT_TRUE(output_.Shows(kCentre, kRed));
    QThread::msleep(1500);  // a key in the show's first moment is lost
    output_.Type("\x1b");
    ASSERT_TRUE(output_.Shows(kCentre, kSwayGrey)) << "input ends the show";
    EXPECT_TRUE(output_.Shows(kCentre, kRed)) << "the next idle period";
    ::kill(static_cast<pid_t>(idle->processId()), SIGTERM);
    EXPECT_TRUE(idle->EndsCleanly());
}

}  // namespace
