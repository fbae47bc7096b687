#pragma once
// Why a file cannot be read or written, in words for a person: for the
// log and for the one line a program that ends because of it leaves on
// standard error.

#include <QString>
#include <sys/types.h>

namespace platform {

// "not a regular file (a FIFO)" and the like; empty for a regular file.
QString NotRegularReason(mode_t mode);

// Why path cannot be read as a regular file of at most maxBytes bytes
// ("is a folder", "does not exist", "is empty"...); empty when it can.
// Never opens the file, so a FIFO or a device cannot block it.
QString ReadProblem(const QString& path, qint64 maxBytes);

// Why a file at path that cannot be replaced resists ("is read-only", "is
// in a folder that cannot be written", "goes through a symbolic link that
// another user made"...), or, when neither holds, the
// likely cause of a write that failed.
QString WriteProblem(const QString& path);

}  // namespace platform
