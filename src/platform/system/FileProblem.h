#pragma once
// Why a file cannot serve as a settings file, in words for a person: for
// the one line a program that ends because of it leaves on standard error.

#include <QString>

namespace platform {

// Why path cannot be read as a regular file of at most maxBytes bytes
// ("is a folder", "does not exist", "is empty"...); empty when it can.
// Never opens the file, so a FIFO or a device cannot block it.
QString ReadProblem(const QString& path, qint64 maxBytes);

// Why a file at path that cannot be replaced resists ("is read-only", "is
// in a folder that cannot be written"...), or, when neither holds, the
// likely cause of a write that failed.
QString WriteProblem(const QString& path);

}  // namespace platform
