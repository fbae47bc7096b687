#include "platform/system/FolderLock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

// A write-back holds the lock for milliseconds: short pauses at first, then
// longer ones so a long wait costs few wake-ups.
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{20};

QString SystemReason(const char* what, int error) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace

FolderLock::FolderLock(const QByteArray& folder, std::chrono::milliseconds wait) {
    fd_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        reason_ = SystemReason("cannot open the folder to lock it", errno);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            state_ = State::Held;
            return;
        }
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) {
            // NFS, for one, refuses flock on a descriptor opened for reading.
            state_ = error == ENOLCK || error == EBADF || error == EOPNOTSUPP ? State::Unsupported : State::Failed;
            reason_ = SystemReason("cannot lock the folder", error);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            reason_ = QStringLiteral("another writer kept the folder locked for %1 ms").arg(wait.count());
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestPause);
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // also releases the lock
}

}  // namespace platform
