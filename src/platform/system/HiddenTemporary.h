#pragma once
// The hidden temporary files a replacement writes before its rename:
// ".<name>.zortmp-XXXXXX" beside the file, X being six letters or digits. The
// marker keeps the name apart from a user's own hidden files, so leftovers can
// be recognised by name alone.

#include <QByteArray>
#include <sys/types.h>

namespace platform {

// Creates a new temporary for the file at path (exclusively, so two writers
// never share one) and opens it for writing; its name goes to tempPath. The
// descriptor, or -1 with errno set.
int CreateHiddenTemporary(const QByteArray& path, mode_t mode, QByteArray& tempPath);

// Removes the temporaries of the file at path that writers killed before
// their rename left behind: regular files of exactly this naming owned by
// this user (any owner for root). Only to be called while holding the lock
// every writer of the file takes, so none of them belongs to a live writer.
void RemoveLeftoverTemporaries(const QByteArray& path);

}  // namespace platform
