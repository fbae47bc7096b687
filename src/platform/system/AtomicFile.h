#pragma once
// Replacing a file's content as a whole: the new bytes go to a temporary
// file in the same folder, which is flushed to disk and renamed over the
// original, so readers see the old or the new content and a failure
// (disk full, no permission) leaves the original as it was.

#include <QByteArray>
#include <QByteArrayView>

namespace platform {

// path may be a symbolic link; its final target is replaced and the link
// stays. An existing file keeps its permission bits (and owner and group
// when running as root); a new one gets newFileMode less the umask. Fails when
// the folder is missing or not writable, or the file is read-only, i.e.
// has no owner-write bit (checked on the bits, since access() says yes to
// everything for root).
bool ReplaceFileContent(const QByteArray& path, QByteArrayView bytes, unsigned newFileMode = 0666);

}  // namespace platform
