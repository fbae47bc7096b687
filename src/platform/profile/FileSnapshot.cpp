#include "platform/profile/FileSnapshot.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace platform::profile {
namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

FileStamp StampOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// File times come from the coarse real-time clock, so reading that clock
// gives the tick a change made now would be stamped with.
timespec CurrentTick() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

FileState StateAfterOpenError(int error) {
    return (error == ENOENT || error == ENOTDIR) ? FileState::Missing : FileState::Unreadable;
}

// Reads to the end, in case the file grew since fstat; stops once it is
// past maxBytes.
bool ReadAll(int fd, qint64 expected, qint64 maxBytes, QByteArray& bytes) {
    bytes.resize(qMin(expected, maxBytes) + 1);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) return false;
            bytes.resize(qMin(filled * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        filled += got;
    }
    bytes.truncate(filled);
    return true;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::optional<FileStamp> StampOfPath(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) return std::nullopt;
    return StampOf(st);
}

FileSnapshot ReadFileSnapshot(const QByteArray& path, qint64 maxBytes) {
    FileSnapshot snapshot;
    const timespec readStart = CurrentTick();
    // O_NONBLOCK so that a FIFO in the file's place cannot hang the open.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        snapshot.state = StateAfterOpenError(errno);
        return snapshot;
    }
    struct stat st {};
    snapshot.state = FileState::Unreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes &&
        ReadAll(fd, st.st_size, maxBytes, snapshot.bytes)) {
        snapshot.state = FileState::Present;
        snapshot.stamp = StampOf(st);
        snapshot.settled = Before(st.st_mtim, readStart) && Before(st.st_ctim, readStart);
    } else {
        snapshot.bytes.clear();
    }
    ::close(fd);
    return snapshot;
}

}  // namespace platform::profile
