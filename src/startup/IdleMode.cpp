#include "startup/IdleMode.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "errors/ErrorLog.h"
#include "platform/ui/SessionIdle.h"
#include "platform/vb/EndProgram.h"
#include "startup/ShowSwitches.h"

using namespace errors;

namespace startup {

namespace {

using Clock = platform::SessionIdle::Clock;

// The longest wait asked for; a day.
constexpr int kLongestIdleSeconds = 24 * 60 * 60;
// After a show that ended with no input (it could not start, say), the
// session is still idle: the next show waits for input first, and a desktop
// that sends no news of input is asked this often, rather than the show
// started again at once.
constexpr int kInputCheckMs = 1000;

// The signals that end the mode, and the end of its show; read from a
// descriptor, never by a handler.
class ControlSignals {
public:
    ControlSignals() {
        sigemptyset(&set_);
        for (int number : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&set_, number);
        sigprocmask(SIG_BLOCK, &set_, nullptr);
        fd_ = signalfd(-1, &set_, SFD_CLOEXEC);
    }
    ~ControlSignals() { close(fd_); }
    const sigset_t& Set() const { return set_; }
    int Fd() const { return fd_; }
    // The signal that came (after the descriptor became readable); 0 when none.
    int Take() const {
        signalfd_siginfo info{};
        return read(fd_, &info, sizeof info) == sizeof info ? static_cast<int>(info.ssi_signo) : 0;
    }

private:
    sigset_t set_;
    int fd_ = -1;
};

bool Ends(int number) { return number == SIGTERM || number == SIGINT || number == SIGHUP; }

// Waits up to timeoutMs (-1: without end) for a signal or the desktop's
// news: the signal's number, 0 otherwise; -1 when the desktop's connection broke.
int Wait(const ControlSignals& signals, platform::SessionIdle& session, int timeoutMs) {
    pollfd fds[] = {{signals.Fd(), POLLIN, 0}, {session.Fd(), POLLIN, 0}};
    if (poll(fds, session.Fd() < 0 ? 1 : 2, timeoutMs) <= 0) return 0;
    if (fds[0].revents & POLLIN) return signals.Take();
    if (fds[1].revents && !session.Dispatch()) return -1;
    return 0;
}

// Runs a copy of this program on the collection until it ends, or until a
// signal ends both (true). The copy ends with this process, however it ends.
bool RunShow(const IdleArguments& idle, const ControlSignals& signals) {
    std::vector<QByteArray> arguments{QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")))};
    for (const QString& argument : ShowSwitchArguments(idle.options)) arguments.push_back(argument.toLocal8Bit());
    arguments.push_back(idle.collection.isEmpty() ? QByteArray("/S") : idle.collection.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t show = fork();
    if (show == 0) {  // only calls safe after a fork until exec
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(vb::kEndedNormally);
        sigprocmask(SIG_UNBLOCK, &signals.Set(), nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (show < 0) {
        SayOnStandardError(QStringLiteral("the show could not be started: %1").arg(QString::fromLocal8Bit(strerror(errno))));
        return false;
    }
    for (;;) {
        pollfd fd{signals.Fd(), POLLIN, 0};
        if (poll(&fd, 1, -1) <= 0) continue;
        const int number = signals.Take();
        if (Ends(number)) {
            kill(show, SIGTERM);
            waitpid(show, nullptr, 0);
            return true;
        }
        if (number == SIGCHLD && waitpid(show, nullptr, WNOHANG) == show) return false;
    }
}

int DesktopStopped(const platform::SessionIdle& session) {
    SayOnStandardError(session.Source() + QStringLiteral(" no longer tells whether the session is idle"));
    return vb::kCouldNotShow;
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
    qsizetype i = 2;
    for (; i < arguments.size(); ++i) {
        const std::optional<QString> shown = ReadShowSwitch(arguments, i, idle.options);
        if (!shown) break;
        if (!shown->isEmpty()) {
            idle.error = *shown;
            return idle;
        }
    }
    QStringList rest = arguments.mid(i);
    if (!rest.isEmpty() && rest.front() == QLatin1String("--")) rest.removeFirst();
    idle.collection = rest.join(u' ');
    return idle;
}

int RunIdleMode(const IdleArguments& idle) {
    const ControlSignals signals;
    platform::SessionIdle session(idle.seconds * 1000LL);
    if (!session.Error().isEmpty()) {
        SayOnStandardError(session.Error());
        return vb::kCouldNotShow;
    }
    std::optional<Clock::time_point> lastShowStart;
    for (;;) {
        // Input since the last show started (what ended it, as a rule).
        const std::optional<bool> input = lastShowStart ? session.InputSince(*lastShowStart) : true;
        const std::optional<long long> untilIdle = session.MsUntilIdle();
        if (!input || !untilIdle) return DesktopStopped(session);
        long long timeoutMs = *untilIdle;
        if (!*input) timeoutMs = session.Fd() < 0 ? kInputCheckMs : -1;
        if (timeoutMs == 0) {
            lastShowStart = Clock::now();
            if (RunShow(idle, signals)) return vb::kEndedNormally;
            continue;
        }
        const int news = Wait(signals, session, static_cast<int>(std::min<long long>(timeoutMs, INT_MAX)));
        if (news < 0) return DesktopStopped(session);
        if (Ends(news)) return vb::kEndedNormally;
    }
}

}  // namespace startup
