#pragma once
// Small helpers shared by the unit and end-to-end tests.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "support/QtPrinters.h"

namespace testsupport {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// The run state, the collection and the settings as a program that has just
// started has them.
void ResetProgramState();

// A fresh folder that is removed with the object.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// While alive, EndProgram throws vb::ProgramEnded instead of leaving the process.
class CatchEndProgram {
public:
    CatchEndProgram();
    ~CatchEndProgram();

private:
    std::function<void(int)> previous_;
};

}  // namespace testsupport
