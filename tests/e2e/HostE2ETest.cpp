// The show the way Linux screensaver hosts start it (inside a window they
// own, ended with a signal), and on a display with more than one screen.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QThread>
#include <csignal>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// Sends signal and checks that the program is gone within a second, died of
// it, took the processes it started with it and wrote no log.
void ExpectGoneAfter(ChildProcess& show, int signal, const InstalledProgram& program) {
    const std::vector<qint64> started = Descendants(show.processId());
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(show.processId()), signal);
    ASSERT_TRUE(show.waitForFinished(5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(show.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(show.exitCode(), signal);
    for (const qint64 pid : started) EXPECT_FALSE(Alive(pid)) << "process " << pid << " was left behind";
    EXPECT_FALSE(QFile::exists(program.file("ZORError.Log")));
}

TEST_F(ShowE2E, WindowIdFillsTheHostAndFollowsItsSize) {
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
    screen_.Xdotool({"windowkill", id});  // a host window that goes away ends the show quietly
    EXPECT_TRUE(show->EndsCleanly(5000));
}

// Whenever the host's signal comes: during the start, on a still, while a
// page is still loading, on a page. (Window ids that name nothing: HardshipE2E.)
TEST_F(ShowE2E, SignalsEndAHostedShowAtOnce) {
    WriteBytes(program_.file("lime.htm"), "<body style=\"background:#20c040\">A page.</body>");
    QTcpServer silent;  // takes connections and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const EntrySpec loading = Page(QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort()));
    const struct {
        int signal;
        EntrySpec entry;
        std::function<bool(qint64 pid)> ready;
    } cases[] = {
        {SIGTERM, Entry("long-red.mp4"), [](qint64) { return true; }},
        {SIGINT, Still("yellow.png"), [&](qint64) { return screen_.Shows({640, 5}, kYellow); }},
        {SIGHUP, loading, [](qint64 pid) { return WaitUntil([pid] { return !Descendants(pid).empty(); }, 10000); }},
        {SIGTERM, Page("lime.htm", "CURRDIR"), [&](qint64) { return screen_.Shows({640, 600}, kLime, 8); }},
    };
    for (const auto& [signal, entry, ready] : cases) {
        const auto show = Start("SCREENSAVER", {entry}, {"--root"});
        ASSERT_TRUE(ready(show->processId())) << signal;
        ExpectGoneAfter(*show, signal, program_);
    }
}

// The show plays on the primary screen; the other goes black, and a click
// there counts as a click on the show (on to the next entry): without a
// window of the show there, it would reach nothing.
TEST(ScreensE2E, EveryOtherScreenIsCoveredAndTakesInput) {
    const VirtualDisplay screens({"640x480x24", "640x480x24"});
    InstalledProgram program(screens.name());
    MakeClip(program.file("red.mp4"), ColourSource(kRed), 30);
    MakeClip(program.file("green.mp4"), ColourSource(kGreen), 30);
    WriteBytes(program.file("ZORScr.INI"), CollectionText({.runAs = "SCREENSAVER_NOMOUSEMOVE",
                                                           .entries = {Entry("red.mp4"), Entry("green.mp4")}}));
    const auto show = program.Start({"/S"});
    ASSERT_TRUE(screens.Shows({320, 240}, kRed));
    EXPECT_TRUE(VirtualDisplay::Near(screens.Screen(1).pixelColor(320, 240), Qt::black));
    QThread::msleep(1500);  // a click at the very start is lost while the loop starts the first entry
    screens.Xdotool({"mousemove", "--screen", "1", "320", "240", "click", "1"});
    EXPECT_TRUE(screens.Shows({320, 240}, kGreen, 40, 10000));
}

}  // namespace
