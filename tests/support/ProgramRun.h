#pragma once
// Processes under test on an X display; the real executable runs from a
// folder of its own, where its program INI file and its logs live.

#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>

#include "support/TestSupport.h"

namespace testsupport {

// A started process, ended with the object if it still runs.
class ChildProcess : public QProcess {
public:
    ~ChildProcess() override;
    // Waits for it to end; whether it ended by itself with exit code 0.
    bool EndsCleanly(int timeoutMs = 15000) {
        return (state() == NotRunning || waitForFinished(timeoutMs)) && exitStatus() == NormalExit && exitCode() == 0;
    }
};

// Starts program on the display with its standard error passed on; a folder
// given is its working and its run-time folder (XDG_RUNTIME_DIR).
std::unique_ptr<ChildProcess> StartOn(const QString& display, const QString& program, const QStringList& arguments,
                                      const QString& folder = {});

class InstalledProgram {
public:
    explicit InstalledProgram(const QString& display);
    QString file(const QString& name) const { return folder_.file(name); }
    // In a run-time folder of its own: copies run by other tests are no earlier instances.
    std::unique_ptr<ChildProcess> Start(const QStringList& arguments) const {
        return StartOn(display_, file("ZORScr"), arguments, folder_.path());
    }
    // Runs it until it ends and gives its exit code; ends it (-1, as after a
    // crash) once until() holds or after 20 seconds.
    int Run(const QStringList& arguments, const std::function<bool()>& until = [] { return false; }) const;

private:
    TempFolder folder_;
    QString display_;
};

}  // namespace testsupport
