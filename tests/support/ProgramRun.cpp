#include "support/ProgramRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <stdexcept>

namespace testsupport {

VirtualDisplay::VirtualDisplay() {
    // -noreset: by default the server resets when its last client leaves, and
    // turns away a client that connects meanwhile; the tools that look at the
    // screen come and go while the program under test connects.
    xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xvfb_.start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0", "1280x720x24", "-nolisten", "tcp"});
    while (!xvfb_.canReadLine() && xvfb_.waitForReadyRead(20000)) {
    }
    name_ = u':' + QString::fromLatin1(xvfb_.readLine()).trimmed();
    if (name_.size() < 2) throw std::runtime_error("Xvfb did not start");
}

VirtualDisplay::~VirtualDisplay() {
    xvfb_.terminate();
    xvfb_.waitForFinished();
}

ChildProcess::~ChildProcess() {
    kill();
    waitForFinished();
}

std::unique_ptr<ChildProcess> StartOn(const QString& display, const QString& program, const QStringList& arguments,
                                      const QString& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    if (!folder.isEmpty()) environment.insert("XDG_RUNTIME_DIR", folder);
    auto process = std::make_unique<ChildProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setWorkingDirectory(folder);
    process->start(program, arguments);
    if (!process->waitForStarted()) throw std::runtime_error(program.toStdString() + " did not start");
    return process;
}

InstalledProgram::InstalledProgram(const QString& display) : display_(display) {
    if (!QFile::copy(ZORSCR_EXE, file("ZORScr"))) throw std::runtime_error("cannot copy the program");
}

int InstalledProgram::Run(const QStringList& arguments, const std::function<bool()>& until) const {
    const auto process = Start(arguments);
    QElapsedTimer clock;
    clock.start();
    while (!process->waitForFinished(50))
        if (until() || clock.elapsed() > 20000) return -1;
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

}  // namespace testsupport
