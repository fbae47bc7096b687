#pragma once
// The user's private folder, where the program keeps its lock files (the
// running-copy lock and the write locks): nobody but the user (and root) can
// make, hold or replace a file there, so another user can neither stall our
// writes nor stop a show with a lock of theirs.
//
// Decided once per process, at first use: $XDG_RUNTIME_DIR when it is set
// and is a folder (not a link) of the user's own with mode 0700; otherwise
// $XDG_CACHE_HOME/ZORScr (by default ~/.cache/ZORScr), made with mode 0700
// when missing and used only when it then is a folder of the user's own
// with mode 0700. Never /tmp. The folder stays open for the process's life,
// so what is checked is what is used even if a name on its path changes.
// Any thread.

#include <QByteArray>
#include <QString>

namespace platform {

// A descriptor of the private folder (owned by this unit, never to be
// closed), or -1 when there is none; why then gets the reason.
int PrivateFolder(QString* why = nullptr);

// Opens the lock file of that name (no "/") in the private folder, made
// with mode 0600 when missing, for flock. Only a regular file of the user's
// own counts; a link is never followed. The descriptor (the caller closes
// it), or -1 with the reason in *why.
int OpenPrivateLockFile(const QByteArray& name, QString* why = nullptr);

}  // namespace platform
