#include "startup/IdleMode.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>

#include "errors/ErrorLog.h"
#include "platform/ui/SessionIdle.h"
#include "platform/vb/EndProgram.h"

namespace {

// The longest wait asked for; a day.
constexpr int kLongestIdleSeconds = 24 * 60 * 60;
// After a show that ended with no input (it could not start, say), the
// session is still idle: the next show waits for input first, asked this
// often rather than started again at once.
constexpr long long kInputCheckMs = 1000;

using Clock = std::chrono::steady_clock;

sigset_t ControlSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int number : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&set, number);
    return set;
}

// Sleeps up to ms, or until a signal of set comes: its number, 0 when none came.
int SleepFor(const sigset_t& set, long long ms) {
    const timespec wait{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    const int number = sigtimedwait(&set, nullptr, &wait);
    return number < 0 ? 0 : number;
}

bool Ends(int number) { return number == SIGTERM || number == SIGINT || number == SIGHUP; }

// Runs a copy of this program on the collection until it ends, or until a
// signal ends both (true). The copy ends with this process, however it ends.
bool RunShow(const QString& collection, const sigset_t& set) {
    const QByteArray program = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray argument = collection.isEmpty() ? QByteArray("/S") : collection.toLocal8Bit();
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(argument.constData()), nullptr};
    const pid_t parent = getpid();
    const pid_t show = fork();
    if (show == 0) {  // only calls safe after a fork until exec
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(vb::kEndedNormally);
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        execv(argv[0], argv);
        _exit(127);
    }
    if (show < 0) {
        SayOnStandardError(QStringLiteral("the show could not be started: %1").arg(QString::fromLocal8Bit(strerror(errno))));
        return false;
    }
    for (;;) {
        const int number = sigwaitinfo(&set, nullptr);
        if (Ends(number)) {
            kill(show, SIGTERM);
            waitpid(show, nullptr, 0);
            return true;
        }
        if (number == SIGCHLD && waitpid(show, nullptr, WNOHANG) == show) return false;
    }
}

}  // namespace

std::optional<IdleArguments> ReadIdleArguments(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.front() != QLatin1String("--idle")) return std::nullopt;
    IdleArguments idle;
    bool number = false;
    idle.seconds = arguments.value(1).toInt(&number);
    if (!number || idle.seconds < 1 || idle.seconds > kLongestIdleSeconds) {
        idle.error = QStringLiteral("--idle needs the seconds of idleness before the show, from 1 to %1").arg(kLongestIdleSeconds);
        return idle;
    }
    QStringList rest = arguments.mid(2);
    if (!rest.isEmpty() && rest.front() == QLatin1String("--")) rest.removeFirst();
    idle.collection = rest.join(u' ');
    return idle;
}

int RunIdleMode(const IdleArguments& idle) {
    const platform::SessionIdle session;
    if (!session.Error().isEmpty()) {
        SayOnStandardError(session.Error());
        return vb::kCouldNotShow;
    }
    // Taken by sigtimedwait and sigwaitinfo only, never by a handler.
    const sigset_t set = ControlSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
    const long long wanted = idle.seconds * 1000LL;
    std::optional<Clock::time_point> lastShowStart;
    for (;;) {
        const std::optional<long long> idleMs = session.IdleMs();
        if (!idleMs) {
            SayOnStandardError(session.Source() + QStringLiteral(" no longer tells how long the session has been idle"));
            return vb::kCouldNotShow;
        }
        // Input since the last show started (what ended it, as a rule).
        const bool input =
            !lastShowStart ||
            *idleMs < std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *lastShowStart).count();
        long long sleepMs = wanted - *idleMs;
        if (!input) sleepMs = kInputCheckMs;
        if (sleepMs <= 0) {
            lastShowStart = Clock::now();
            if (RunShow(idle.collection, set)) return vb::kEndedNormally;
            continue;
        }
        if (Ends(SleepFor(set, sleepMs))) return vb::kEndedNormally;
    }
}
