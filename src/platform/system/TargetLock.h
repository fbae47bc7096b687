#pragma once
// An exclusive lock among the user's own writers of one file: flock on a
// lock file in the user's private folder (PrivateFolder) named after the
// file's real path, so that two copies of the program writing one file take
// turns and nobody else can hold the lock: another user's lock on a shared
// folder or on the file itself stalls nothing. (A lock on the file itself
// would serialise nothing either: every replacement is a new inode.) The
// kernel drops the lock when its holder closes it or dies, so a killed
// writer leaves only the empty lock file, which the next writer reuses.
// Writers of one file who are different users do not exclude each other.

#include <QByteArray>
#include <QString>
#include <chrono>

namespace platform {

// Long enough for another copy's write-back (an fsync on a slow disk), short
// enough that a holder that hangs cannot stop the caller for good.
inline constexpr std::chrono::milliseconds kWriteLockWait{5000};

class TargetLock {
public:
    // What the lock guards: a replacement (from its read to its rename), or
    // a tool's whole series of edits of the file.
    enum class Purpose { Write, Edit };
    enum class State {
        Held,
        Unlocked,  // no private folder, or its file system has no flock: the caller may go on unlocked
        Failed,    // another of the user's holders kept it past the wait
    };

    // realPath: the file's path as WriteTarget gives it, so every name of
    // one file meets one lock. Waits at most `wait` for another holder,
    // sleeping between tries.
    TargetLock(const QByteArray& realPath, Purpose purpose, std::chrono::milliseconds wait = kWriteLockWait);
    ~TargetLock();
    TargetLock(const TargetLock&) = delete;
    TargetLock& operator=(const TargetLock&) = delete;

    State state() const { return state_; }
    // Why the lock is not held; empty when it is.
    const QString& reason() const { return reason_; }

private:
    int fd_ = -1;
    State state_ = State::Unlocked;
    QString reason_;
};

}  // namespace platform
