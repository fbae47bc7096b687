#pragma once
// An exclusive lock on a folder: flock on the folder's own descriptor. Writers
// that replace files in the folder by rename hold it to take turns across
// processes (a lock on the file itself would not do: every replacement is a
// new inode). It needs no lock file, and the kernel drops it when its holder
// closes the descriptor or dies, so a killed writer leaves nothing behind.
// Every copy holding it at once, in this process or another, excludes the
// others.

#include <QByteArray>
#include <QString>
#include <chrono>

namespace platform {

// Long enough for another copy's write-back (an fsync on a slow disk), short
// enough that a holder that hangs cannot stop the caller for good.
inline constexpr std::chrono::milliseconds kFolderLockWait{5000};

class FolderLock {
public:
    enum class State {
        Held,
        Unsupported,  // the folder's file system has no flock (the caller may go on unlocked)
        Failed,       // the folder cannot be opened, or another holder kept it past the wait
    };

    // Waits at most `wait` for another holder, sleeping between tries.
    explicit FolderLock(const QByteArray& folder, std::chrono::milliseconds wait = kFolderLockWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return state_; }
    // Why the lock is not held, with the system's reason; empty when held.
    const QString& reason() const { return reason_; }

private:
    int fd_ = -1;
    State state_ = State::Failed;
    QString reason_;
};

}  // namespace platform
