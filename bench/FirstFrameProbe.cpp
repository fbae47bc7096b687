// Milliseconds from starting a program to the first time one pixel of the
// screen (in DISPLAY) shows a colour, read straight from the X server about
// every millisecond; the program is then ended by its process id. The
// prober sleeps between reads, and the program under test runs as a user
// starts it: a new process, its output discarded. bench/first-frame.sh runs it.
// Run: build/bin/FirstFrameProbe x y rrggbb program [arguments...]
// Prints the milliseconds, or "none" when the colour did not come within 20 s.

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/XTools.h"

extern char** environ;

using testsupport::PixelProbe;

namespace {

constexpr int kTolerance = 40;     // per channel: video is not exact
constexpr qint64 kWaitMs = 20000;  // for the colour, and for a last window to go

bool Near(const QColor& seen, const QColor& wanted) {
    return seen.isValid() && std::abs(seen.red() - wanted.red()) <= kTolerance &&
           std::abs(seen.green() - wanted.green()) <= kTolerance && std::abs(seen.blue() - wanted.blue()) <= kTolerance;
}

// Ends the program: asked first, killed when it does not go within 3 s.
void End(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i, usleep(10000)) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s x y rrggbb program [arguments...]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const QColor wanted(QStringLiteral("#") + QString::fromLatin1(argv[3]));
    if (!wanted.isValid()) {
        std::fprintf(stderr, "not a colour: %s\n", argv[3]);
        return 2;
    }
    const PixelProbe probe;
    QElapsedTimer clock;
    clock.start();
    // A window of the run before may still be there.
    while (Near(probe.At(x, y), wanted) && clock.elapsed() < kWaitMs) usleep(1000);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    clock.restart();
    const int failed = posix_spawnp(&pid, argv[4], &actions, nullptr, argv + 4, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "%s did not start\n", argv[4]);
        return 1;
    }
    bool seen = false;
    while (!(seen = Near(probe.At(x, y), wanted)) && clock.elapsed() < kWaitMs) usleep(1000);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    End(pid);
    if (seen)
        std::printf("%.0f\n", ms);
    else
        std::puts("none");
    return 0;
}
