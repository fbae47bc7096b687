// The show the way others start it: screensaver hosts (in a window of
// theirs, with their options, ended by a signal), the settings dialog's
// preview, the idle mode on X11 (on Wayland: WaylandE2E).

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>

#include "e2e/ShowE2E.h"

#include <X11/Xlib.h>  // last: its macros clash with Qt's names

using namespace testsupport;

namespace {

// --window-id fills the host's window and follows its size, leaves input to
// the host and ends quietly with the window. The settings dialog's preview
// (/P) draws into a window of another program for nine seconds.
TEST_F(ShowE2E, WindowIdAndPreviewDrawIntoAForeignWindow) {
    const VirtualDisplay::Window host = screen_.OpenWindow("host");
    ASSERT_NE(host.id, 0u);
    const auto show = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"--window-id", QString::number(host.id)});
    ASSERT_TRUE(screen_.Shows(host.origin + QPoint(390, 290), kRed));
    // Input belongs to the host: a click and a key change nothing.
    screen_.Click(host.origin + QPoint(200, 150));
    screen_.Xdotool({"key", "Escape"});
    const QString id = QString::number(host.id);
    for (const char* size : {"1 1", "800 600"}) screen_.Xdotool(QStringList{"windowsize", id} + QString(size).split(u' '));
    EXPECT_TRUE(screen_.Shows(host.origin + QPoint(790, 590), kRed));
    screen_.Xdotool({"windowkill", id});
    EXPECT_TRUE(show->EndsCleanly(5000));

    const qulonglong preview = screen_.OpenWindow("preview host").id;
    ASSERT_NE(preview, 0u);
    QElapsedTimer clock;
    clock.start();
    const auto previewed = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"/P", QString::number(preview)});
    EXPECT_TRUE(screen_.Shows({300, 250}, kRed));
    EXPECT_TRUE(previewed->EndsCleanly(20000));
    EXPECT_GE(clock.elapsed(), 8500);
    EXPECT_FALSE(QFile::exists(program_.file("ZORError.Log")));
}

// Whenever the host's signal comes (during the start, on a still, on a
// page and its browser's processes) the program is gone within a second,
// died of it, took the processes it started with it and wrote no log.
// xscreensaver's frame-rate option before the collection named: that
// collection plays, not the program's own. (Window ids that name nothing,
// help, version and unknown switches: StartupE2E.)
TEST_F(ShowE2E, SignalsEndAHostedShowAtOnce) {
    WriteShow("SCREENSAVER", {Entry("green.mp4")});  // the program's own collection
    const QString named = program_.file("Named.ini");
    const struct { int signal; EntrySpec entry; QStringList options; std::function<bool(qint64 pid)> ready; } cases[] = {
        {SIGTERM, Entry("long-red.mp4"), {}, [](qint64) { return true; }},
        {SIGINT, Still("yellow.png"), {"-fps"}, [&](qint64) { return screen_.Shows({640, 5}, kYellow); }},
        {SIGHUP, LimePage(), {"--fps", "--"}, [&](qint64) { return screen_.Shows({640, 600}, kLime, 8); }},
    };
    for (const auto& [signal, entry, options, ready] : cases) {
        WriteBytes(named, CollectionText({.stillDelayTimer = "2", .entries = {entry}}));
        const auto show = program_.Start(QStringList{"--root"} + options + QStringList{named});
        SCOPED_TRACE(signal);
        ASSERT_TRUE(ready(show->processId()));
        const std::vector<qint64> started = Descendants(show->processId());
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(show->processId()), signal);
        ASSERT_TRUE(show->waitForFinished(5000));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(show->exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(show->exitCode(), signal);
        for (const qint64 pid : started) EXPECT_FALSE(Alive(pid)) << "process " << pid << " was left behind";
        EXPECT_FALSE(QFile::exists(program_.file("ZORError.Log")));
    }
}

// The one show the idle mode runs at the moment; 0 when none.
qint64 ShowOf(const ChildProcess& idle) {
    const std::vector<qint64> shows = Descendants(idle.processId());
    return shows.empty() ? 0 : shows.front();
}

// The idle mode on X11: the show comes after the session's idle time, input
// ends it, a program that resets the screen saver holds the next one off,
// and SIGTERM ends the mode with its show.
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

}  // namespace
