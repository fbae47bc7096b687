#pragma once
// The hidden temporary file a replacement writes before its rename. A writer
// that holds the file's lock is its user's only writer, so it uses one fixed
// name beside the file, ".<name>.zortmp", and what it finds there was left by
// a writer that was killed: it is removed, found by its name alone without a
// scan of the folder. Without a lock (a file system without flock) each
// writer takes a name of its own, ".<name>.zortmp-XXXXXX", which nobody else
// can tell from a live writer's, so those are not removed. The marker keeps
// both apart from a user's own hidden files.

#include <QByteArray>
#include <sys/types.h>

namespace platform {

// Creates the temporary for the file at path (exclusively, never through a
// link) and opens it for writing; its name goes to tempPath. alone: the
// caller holds the file's lock, so a leftover at the fixed name, a regular
// file of this user's (any owner's for root), is removed first; anything
// else there makes it take a name of its own. The descriptor, or -1 with
// errno set.
int CreateHiddenTemporary(const QByteArray& path, mode_t mode, bool alone, QByteArray& tempPath);

}  // namespace platform
