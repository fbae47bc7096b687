#pragma once
// Runs the real executable, copied into a folder of its own so that its
// program INI file and its logs live there.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

#include "support/TestSupport.h"

namespace testsupport {

struct RunResult {
    int exitCode = -1;
    bool finished = false;  // false: it had to be killed after the time-out
    bool crashed = false;
    bool done = false;      // RunUntil: its condition held
    QByteArray output;      // standard output and error together
};

class InstalledProgram {
public:
    InstalledProgram();
    QString folder() const { return folder_.path(); }
    QString file(const QString& name) const { return folder_.file(name); }
    // The environment the program runs in: this machine's, with a run-time
    // folder of its own so that copies run by other tests do not count as
    // earlier instances.
    QProcessEnvironment Environment() const;
    RunResult Run(const QStringList& arguments) const { return Run(arguments, Environment()); }
    RunResult Run(const QStringList& arguments, const QProcessEnvironment& environment, int timeoutMs = 20000) const;
    // For a show, which runs until input ends it: runs the program until it
    // ends by itself (finished) or until done() holds, then ends it.
    RunResult RunUntil(const QStringList& arguments, const std::function<bool()>& done,
                       const QProcessEnvironment& environment, int timeoutMs = 20000) const;
    RunResult RunUntil(const QStringList& arguments, const std::function<bool()>& done) const {
        return RunUntil(arguments, done, Environment());
    }

private:
    TempFolder folder_;
};

// An Xvfb display for the length of a test.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    QString name() const { return name_; }  // ":N"

private:
    qint64 pid_ = 0;
    QString name_;
};

}  // namespace testsupport
