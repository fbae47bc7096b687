// The idle mode: on X11 the show comes after the session's idle time, input
// ends it, the next idle period brings it back, a program that resets the
// screen saver holds it off, and SIGTERM ends the mode with its show; where
// GNOME's idle monitor runs, its count is the one that holds; on Wayland the
// compositor's notifications do the same.

#include <gtest/gtest.h>

#include <signal.h>

#include <QThread>

#include "e2e/ShowE2E.h"

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
    const PrivateBus bus("DBUS_SESSION_BUS_ADDRESS", {FAKE_DBUS, "idle"});
    ASSERT_TRUE(bus.Serves());
    const auto monitor = [&](int signal) { kill(static_cast<pid_t>(bus.FakePid()), signal); };

    auto idle = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"--idle", "2"});
    for (int i = 0; i < 8; ++i) {
        monitor(SIGUSR1);
        QThread::msleep(500);
        EXPECT_EQ(ShowOf(*idle), 0) << "input that GNOME's monitor saw, " << i;
    }
    monitor(SIGUSR2);  // a program holds idleness off
    QThread::msleep(4500);
    EXPECT_EQ(ShowOf(*idle), 0) << "a show while idleness is inhibited";
    monitor(SIGUSR2);  // and lets it go
    EXPECT_TRUE(screen_.Shows(kCentre, kRed));
    const qint64 show = ShowOf(*idle);
    idle->kill();  // however the mode ends, its show ends with it
    idle->waitForFinished();
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show); }, 5000));
}

using IdleModeE2E = WaylandE2E;

TEST_F(IdleModeE2E, OnWaylandTheCompositorSaysWhenTheSessionIsIdle) {
    auto idle = Start({"--idle", "2"});
    ASSERT_TRUE(output_.Shows(kCentre, kRed));
    QThread::msleep(1500);  // a key in the show's first moment is lost
    output_.Type("\x1b");
    ASSERT_TRUE(output_.Shows(kCentre, QColor(0x3f, 0x3f, 0x3f))) << "input ends the show";  // sway's grey
    EXPECT_EQ(idle->state(), QProcess::Running);
    EXPECT_TRUE(output_.Shows(kCentre, kRed)) << "the next idle period";
    kill(static_cast<pid_t>(idle->processId()), SIGTERM);
    EXPECT_TRUE(idle->EndsCleanly());
}

}  // namespace
