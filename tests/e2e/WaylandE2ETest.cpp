// The show as a native Wayland client, on a headless sway (the starts that
// cannot have the display they ask for: HardshipE2E).

#include <gtest/gtest.h>

#include <QThread>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// With a Wayland display alone, and with an X display beside it (as under
// XWayland), the show goes to Wayland: the clip fills the output, and a
// typed Escape ends the show as it does on X11.
TEST_F(WaylandE2E, TheShowRunsNativelyAndEndsOnAKey) {
    const VirtualDisplay x11;
    for (const std::map<QString, QString>& also : {std::map<QString, QString>{}, {{"DISPLAY", x11.name()}}}) {
        auto show = Start({"/S"}, also);
        ASSERT_TRUE(output_.Shows(kCentre, kRed)) << "the clip is not on the Wayland output, X display: " << also.size();
        for (const QPoint corner : {QPoint(2, 2), QPoint(1277, 717)}) EXPECT_TRUE(output_.Shows(corner, Qt::black, 0));
        QThread::msleep(1500);  // a key in the show's first moment is lost, as on X11 (ShowE2E)
        output_.Type("\x1b");
        EXPECT_TRUE(show->EndsCleanly());
        ASSERT_TRUE(output_.Shows(kCentre, QColor(0x3f, 0x3f, 0x3f))) << "the show's window stayed";  // sway's grey
    }
}

// --fill: the 4:3 clip covers the 16:9 output, so its corners are the
// clip's, not the black they are above. The player's renderer has Qt's
// Wayland display for a hardware decoder's pictures.
TEST_F(WaylandE2E, FillCoversTheOutput) {
    auto show = output_.Start("/bin/sh", {"-c", "exec ./ZORScr /S --fill 2>trace.txt"}, folder_.path(),
                              {{"ZORSCR_PLAYER_TIMING", "1"}});
    EXPECT_TRUE(output_.Shows(QPoint(2, 2), kRed));
    EXPECT_TRUE(ReadText(folder_.file("trace.txt")).contains(QLatin1String("renderer with the Wayland display")));
}

// Every output but the show's is black for the length of the show, also
// one plugged in while it runs, and one switched off and on again.
class WaylandTwoOutputsE2E : public WaylandE2E {
protected:
    WaylandTwoOutputsE2E() : WaylandE2E(2) {}
};

TEST_F(WaylandTwoOutputsE2E, TheOtherOutputsAreBlackAsTheyComeAndGo) {
    auto show = Start({"/S"});
    const QPoint second(1680, 300), plugged(3040, 540);  // the middles of HEADLESS-2 and of the one plugged in
    ASSERT_TRUE(output_.Shows(kCentre, kRed));
    EXPECT_TRUE(output_.Shows(second, Qt::black)) << "the second output is not covered";
    output_.Sway({"create_output"});
    EXPECT_TRUE(output_.Shows(plugged, Qt::black)) << "an output plugged in during the show is not covered";
    output_.Sway({"output", "HEADLESS-2", "disable"});
    output_.Sway({"output", "HEADLESS-2", "enable"});
    EXPECT_TRUE(output_.Shows(second, Qt::black)) << "an output switched on again is not covered";
    EXPECT_TRUE(output_.Shows(kCentre, kRed)) << "the show left its output";
    output_.Type("\x1b");
    EXPECT_TRUE(show->EndsCleanly());
}

// A right click calls up the remote control over the full-screen show,
// where a person can see and use it.
TEST_F(WaylandE2E, ARightClickCallsUpTheRemoteOverTheShow) {
    auto show = Start({"/S"});
    ASSERT_TRUE(output_.Shows(kCentre, kRed));
    QThread::msleep(1500);  // input in the show's first moment is not the user's
    output_.Click(kCentre, 0x111);  // the right button
    QRect remote;
    ASSERT_TRUE(WaitUntil([&] { return !(remote = output_.Shown("ZOR RC")).isEmpty(); }, 10000)) << "no remote control is shown";
    // Its skin, not the show's red, where sway says it is.
    EXPECT_TRUE(WaitUntil([&] { return !output_.Shows(remote.center(), kRed, 0); }, 5000))
        << "the remote control at " << remote.x() << ',' << remote.y() << " is behind the show";
}

}  // namespace
