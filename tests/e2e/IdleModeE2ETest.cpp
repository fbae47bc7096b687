// The idle mode: on X11 the show comes after the session's idle time, input
// ends it, the next idle period brings it back, a program that resets the
// screen saver holds it off, and SIGTERM ends the mode with its show; where
// GNOME's idle monitor runs, its count is the one that holds; on Wayland the
// compositor's notifications do the same.

#include <gtest/gtest.h>

#include <signal.h>

#include <QThread>

#include "e2e/ShowE2E.h"
#include "support/WaylandTools.h"

#include <X11/Xlib.h>  // last: its macros clash with Qt's names

using namespace testsupport;

namespace {

// The one show the idle mode runs at the moment; 0 when none.
qint64 ShowOf(const ChildProcess& idle) {
    const std::vector<qint64> shows = Descendants(idle.processId());
    return shows.empty() ? 0 : shows.front();
}

TEST_F(ShowE2E, TheIdleModeShowsAfterIdlenessUntilInput) {
    auto idle = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"--idle", "3"});
    MoveMouse();
    EXPECT_FALSE(screen_.Shows(kCentre, kRed, 40, 1500)) << "before 3 s of idleness";
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    for (int rounds = 0; rounds < 20 && ShowOf(*idle); ++rounds) {
        MoveMouse();
        QThread::msleep(500);
    }
    EXPECT_EQ(ShowOf(*idle), 0) << "input ends the show";
    EXPECT_EQ(idle->state(), QProcess::Running);

    // A video player elsewhere resets the server's screen saver while it plays.
    Display* display = XOpenDisplay(screen_.name().toLocal8Bit().constData());
    ASSERT_NE(display, nullptr);
    for (int i = 0; i < 10; ++i) {
        XResetScreenSaver(display);
        XFlush(display);
        QThread::msleep(500);
        EXPECT_EQ(ShowOf(*idle), 0) << "held off, " << i;
    }
    XCloseDisplay(display);
    ASSERT_TRUE(screen_.Shows(kCentre, kRed)) << "the next idle period";

    const qint64 show = ShowOf(*idle);
    ASSERT_NE(show, 0);
    kill(static_cast<pid_t>(idle->processId()), SIGTERM);
    EXPECT_TRUE(idle->EndsCleanly());
    EXPECT_FALSE(Alive(show));
}

// Input as GNOME's monitor sees it holds the show off while the X server,
// which sees none, has long been idle, and so does a program inhibiting
// idleness; without either the show comes.
TEST_F(ShowE2E, TheIdleModeAsksGnomesMonitorWhereItRuns) {
    ChildProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    ChildProcess monitor;
    monitor.start(FAKE_IDLE_MONITOR, QStringList{});
    ASSERT_TRUE(monitor.waitForReadyRead(10000) && monitor.readLine().startsWith("ready"));

    auto idle = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"--idle", "2"});
    for (int i = 0; i < 8; ++i) {
        kill(static_cast<pid_t>(monitor.processId()), SIGUSR1);
        QThread::msleep(500);
        EXPECT_EQ(ShowOf(*idle), 0) << "input that GNOME's monitor saw, " << i;
    }
    kill(static_cast<pid_t>(monitor.processId()), SIGUSR2);  // a program holds idleness off
    QThread::msleep(4500);
    EXPECT_EQ(ShowOf(*idle), 0) << "a show while idleness is inhibited";
    kill(static_cast<pid_t>(monitor.processId()), SIGUSR2);  // and lets it go
    EXPECT_TRUE(screen_.Shows(kCentre, kRed));
    const qint64 show = ShowOf(*idle);
    idle->kill();  // however the mode ends, its show ends with it
    idle->waitForFinished();
    for (int i = 0; i < 50 && Alive(show); ++i) QThread::msleep(100);
    EXPECT_FALSE(Alive(show));
}

TEST(IdleModeE2E, OnWaylandTheCompositorSaysWhenTheSessionIsIdle) {
    const WaylandDisplay output;
    if (!output.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output.problem().toStdString();
    const TempFolder folder;
    WaylandDisplay::InstallShow(folder, kRed);

    auto idle = output.Start(folder.file("ZORScr"), {"--idle", "2"}, folder.path());
    ASSERT_TRUE(output.Shows(kCentre, kRed));
    QThread::msleep(1500);  // a key in the show's first moment is lost
    output.Type("\x1b");
    ASSERT_TRUE(output.Shows(kCentre, QColor(0x3f, 0x3f, 0x3f))) << "input ends the show";  // sway's grey
    EXPECT_EQ(idle->state(), QProcess::Running);
    EXPECT_TRUE(output.Shows(kCentre, kRed)) << "the next idle period";
    kill(static_cast<pid_t>(idle->processId()), SIGTERM);
    EXPECT_TRUE(idle->EndsCleanly());
}

}  // namespace
