// The show as a native Wayland client, on a headless sway (the starts that
// cannot have the display they ask for: HardshipE2E).

#include <gtest/gtest.h>

#include <QThread>

#include "e2e/ShowE2E.h"
#include "support/WaylandTools.h"

using namespace testsupport;

namespace {

// With a Wayland display alone, and with an X display beside it (as under
// XWayland), the show goes to Wayland: the clip fills the output, and a
// typed Escape ends the show as it does on X11.
TEST(WaylandE2E, TheShowRunsNativelyAndEndsOnAKey) {
    const WaylandDisplay output;
    if (!output.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output.problem().toStdString();
    const VirtualDisplay x11;
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);

    for (const std::map<QString, QString>& also : {std::map<QString, QString>{}, {{"DISPLAY", x11.name()}}}) {
        auto show = output.Start(folder.file("ZORScr"), {"/S"}, folder.path(), also);
        ASSERT_TRUE(output.Shows(kCentre, kRed)) << "the clip is not on the Wayland output, X display: " << also.size();
        for (const QPoint corner : {QPoint(2, 2), QPoint(1277, 717)}) EXPECT_TRUE(output.Shows(corner, Qt::black, 0));
        QThread::msleep(1500);  // a key in the show's first moment is lost, as on X11 (ShowE2E)
        output.Type("\x1b");
        EXPECT_TRUE(show->EndsCleanly());
        ASSERT_TRUE(output.Shows(kCentre, QColor(0x3f, 0x3f, 0x3f))) << "the show's window stayed";  // sway's grey
    }
}

// --fill: the 4:3 clip covers the 16:9 output, so its corners are the
// clip's, not the black they are above. The player's renderer has Qt's
// Wayland display for a hardware decoder's pictures.
TEST(WaylandE2E, FillCoversTheOutput) {
    const WaylandDisplay output;
    if (!output.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output.problem().toStdString();
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);
    auto show = output.Start("/bin/sh", {"-c", "exec ./ZORScr /S --fill 2>trace.txt"}, folder.path(),
                             {{"ZORSCR_PLAYER_TIMING", "1"}});
    EXPECT_TRUE(output.Shows(QPoint(2, 2), kRed));
    EXPECT_TRUE(ReadText(folder.file("trace.txt")).contains(QLatin1String("renderer with the Wayland display")));
}

// Every output but the show's is black for the length of the show, also
// one plugged in while it runs, and one switched off and on again.
TEST(WaylandE2E, TheOtherOutputsAreBlackAsTheyComeAndGo) {
    const WaylandDisplay outputs(2);
    if (!outputs.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << outputs.problem().toStdString();
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);
    auto show = outputs.Start(folder.file("ZORScr"), {"/S"}, folder.path());
    const QPoint second(1680, 300), plugged(3040, 540);  // the middles of HEADLESS-2 and of the one plugged in
    ASSERT_TRUE(outputs.Shows(kCentre, kRed));
    EXPECT_TRUE(outputs.Shows(second, Qt::black)) << "the second output is not covered";
    outputs.Sway({"create_output"});
    EXPECT_TRUE(outputs.Shows(plugged, Qt::black)) << "an output plugged in during the show is not covered";
    outputs.Sway({"output", "HEADLESS-2", "disable"});
    outputs.Sway({"output", "HEADLESS-2", "enable"});
    EXPECT_TRUE(outputs.Shows(second, Qt::black)) << "an output switched on again is not covered";
    EXPECT_TRUE(outputs.Shows(kCentre, kRed)) << "the show left its output";
    outputs.Type("\x1b");
    EXPECT_TRUE(show->EndsCleanly());
}

// A right click calls up the remote control over the full-screen show,
// where a person can see and use it.
TEST(WaylandE2E, ARightClickCallsUpTheRemoteOverTheShow) {
    const WaylandDisplay output;
    if (!output.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output.problem().toStdString();
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);
    auto show = output.Start(folder.file("ZORScr"), {"/S"}, folder.path());
    ASSERT_TRUE(output.Shows(kCentre, kRed));
    QThread::msleep(1500);  // input in the show's first moment is not the user's
    output.Click(kCentre, 0x111);  // the right button
    QRect remote;
    for (int tries = 0; tries < 100 && remote.isEmpty(); ++tries, QThread::msleep(100)) remote = output.Shown("ZOR RC");
    ASSERT_FALSE(remote.isEmpty()) << "no remote control is shown";
    bool seen = false;  // its skin, not the show's red, where sway says it is
    for (int tries = 0; tries < 50 && !seen; ++tries, QThread::msleep(100))
        seen = !output.Shows(remote.center(), kRed, 0);
    EXPECT_TRUE(seen) << "the remote control at " << remote.x() << ',' << remote.y() << " is behind the show";
}

}  // namespace
