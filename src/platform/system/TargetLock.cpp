#include "platform/system/TargetLock.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "platform/system/PrivateFolder.h"

namespace platform {
namespace {

// A write-back holds the lock for milliseconds: short pauses at first, then
// longer ones so a long wait costs few wake-ups.
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{20};

// Shared by every program of the family (the show and the collection maker).
QByteArray LockFileName(const QByteArray& realPath, TargetLock::Purpose purpose) {
    const QByteArray hash = QCryptographicHash::hash(realPath, QCryptographicHash::Sha256).toHex().left(32);
    return (purpose == TargetLock::Purpose::Write ? "ZORScr-write-" : "ZORScr-edit-") + hash + ".lock";
}

}  // namespace

TargetLock::TargetLock(const QByteArray& realPath, Purpose purpose, std::chrono::milliseconds wait) {
    fd_ = OpenPrivateLockFile(LockFileName(realPath, purpose), &reason_);
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            state_ = State::Held;
            return;
        }
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) {
            reason_ = QStringLiteral("cannot lock it: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::Failed;
            reason_ = QStringLiteral("another copy of the program kept it locked for %1 ms").arg(wait.count());
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestPause);
    }
}

TargetLock::~TargetLock() {
    if (fd_ >= 0) ::close(fd_);  // also releases the lock
}

}  // namespace platform
