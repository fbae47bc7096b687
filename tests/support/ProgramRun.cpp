#include "support/ProgramRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <stdexcept>

namespace testsupport {

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
