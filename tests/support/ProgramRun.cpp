#include "support/ProgramRun.h"

#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

InstalledProgram::InstalledProgram() {
    const QString target = folder_.file(QStringLiteral("ZORScr"));
    if (!QFile::copy(QStringLiteral(ZORSCR_EXE), target)) throw std::runtime_error("cannot copy the program");
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner);
}

QProcessEnvironment InstalledProgram::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
    environment.insert(QStringLiteral("ZORSCR_MPV_HEADLESS"), QStringLiteral("1"));
    return environment;
}

RunResult InstalledProgram::Run(const QStringList& arguments, const QProcessEnvironment& environment,
                                int timeoutMs) const {
    return RunUntil(arguments, [] { return false; }, environment, timeoutMs);
}

RunResult InstalledProgram::RunUntil(const QStringList& arguments, const std::function<bool()>& done,
                                     const QProcessEnvironment& environment, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder_.path());
    process.start(folder_.file(QStringLiteral("ZORScr")), arguments);
    RunResult result;
    QElapsedTimer clock;
    clock.start();
    while (!(result.finished = process.waitForFinished(50)) && clock.elapsed() < timeoutMs) {
        if ((result.done = done())) break;
    }
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
    } else {
        result.done = done();
        result.crashed = process.exitStatus() == QProcess::CrashExit;
        result.exitCode = process.exitCode();
    }
    result.output = process.readAll();
    return result;
}

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        // -noreset: by default the server resets when its last client leaves,
        // and turns away a client that connects meanwhile; the tools that look
        // at the screen come and go while the program under test connects.
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "1280x720x24", "-nolisten",
                 "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes the number and the line end separately and dies if the
    // pipe is gone before the second write, so read the whole line.
    char buffer[32] = {};
    size_t n = 0;
    while (n < sizeof buffer - 1 && (n == 0 || buffer[n - 1] != '\n')) {
        const ssize_t got = ::read(fds[0], buffer + n, sizeof buffer - 1 - n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        n += static_cast<size_t>(got);
    }
    ::close(fds[0]);
    if (pid < 0 || n == 0) throw std::runtime_error("Xvfb did not start");
    pid_ = pid;
    name_ = QStringLiteral(":") + QString::fromLatin1(buffer).trimmed();
}

VirtualDisplay::~VirtualDisplay() {
    ::kill(static_cast<pid_t>(pid_), SIGTERM);
    ::waitpid(static_cast<pid_t>(pid_), nullptr, 0);
}

}  // namespace testsupport
