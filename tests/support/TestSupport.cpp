#include "support/TestSupport.h"

#include <QFile>
#include <stdexcept>

#include "config/Instances.h"
#include "platform/vb/EndProgram.h"
#include "state/RunState.h"

namespace testsupport {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void ResetProgramState() {
    ResetRunState();
    ResetInstances();
}

TempFolder::TempFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
}

CatchEndProgram::CatchEndProgram()
    : previous_(vb::SetEndProgramHook([](int code) { throw vb::ProgramEnded{code}; })) {}

CatchEndProgram::~CatchEndProgram() { vb::SetEndProgramHook(previous_); }

}  // namespace testsupport
