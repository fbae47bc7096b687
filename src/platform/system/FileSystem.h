#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// True when a normal file of that name exists: a regular file (a symbolic
// link to one counts), not a folder or device, and not hidden (its name does
// not start with "."). Text with a NUL never names a file.
bool NormalFileExists(const QString& path);

// Makes the folder, readable by its owner only, and the folders above it as
// needed; true when it exists afterwards. why gets the reason it does not.
bool MakePrivateFolder(const QString& folder, QString* why = nullptr);

// The content of a file of the user's own: a regular file, not reached
// through a link at its last step, owned by the user, at most maxBytes long.
// Nothing otherwise (why gets the reason; a missing file gives an empty one).
std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes, QString* why);

}  // namespace platform
