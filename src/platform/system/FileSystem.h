#pragma once

#include <QString>

namespace platform {

// True when a normal file of that name exists: a regular file (a symbolic
// link to one counts), not a folder or device, and not hidden (its name does
// not start with "."). Text with a NUL never names a file.
bool NormalFileExists(const QString& path);

}  // namespace platform
