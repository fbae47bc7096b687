#include "platform/system/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/HiddenTemporary.h"
#include "platform/system/WriteTarget.h"

namespace platform {
namespace {

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return ".";
    return slash == 0 ? QByteArray("/") : path.first(slash);
}

// False with errno set: a refusal of our own must not leave the reason of
// some earlier call behind.
bool Refuse(int error) {
    errno = error;
    return false;
}

bool FolderWritable(const QByteArray& folder) {
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) return Refuse(ENOTDIR);
    if (!(st.st_mode & S_IWUSR)) return Refuse(EACCES);
    return ::access(folder.constData(), W_OK | X_OK) == 0;
}

bool WriteAll(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) return Refuse(EIO);
        if (wrote < 0) return false;
        done += wrote;
    }
    return true;
}

// Fills the temporary file and gives it the original's metadata; the
// caller removes it when this fails.
bool FillTemporary(int fd, QByteArrayView bytes, const struct stat* original) {
    if (!WriteAll(fd, bytes)) return false;
    if (original) {
        if (::fchmod(fd, original->st_mode & 07777) != 0) return false;
        if (::geteuid() == 0 && ::fchown(fd, original->st_uid, original->st_gid) != 0) return false;
    }
    return ::fsync(fd) == 0;
}

// Makes the rename itself durable; a failure here no longer affects the
// content, so it is not reported.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

LockedFile::LockedFile(const QByteArray& path) {
    target_ = WriteTarget(path, &reason_);
    if (!target_) return;
    lock_ = std::make_unique<TargetLock>(*target_, TargetLock::Purpose::Write);
    reason_ = lock_->reason();
}

bool LockedFile::Usable() const { return lock_ && lock_->state() != TargetLock::State::Failed; }

bool LockedFile::Replace(QByteArrayView bytes, unsigned newFileMode) const {
    if (!Usable()) return false;
    const QByteArray& target = *target_;
    const QByteArray folder = FolderOf(target);
    if (!FolderWritable(folder)) return false;

    // lstat: a link found at the target now was planted after WriteTarget looked.
    struct stat original {};
    const bool exists = ::lstat(target.constData(), &original) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
        if (!S_ISREG(original.st_mode)) return Refuse(S_ISDIR(original.st_mode) ? EISDIR : EPERM);
        if (!(original.st_mode & S_IWUSR)) return Refuse(EACCES);
        if (::access(target.constData(), W_OK) != 0) return false;
    }

    QByteArray tempPath;
    const bool alone = lock_->state() == TargetLock::State::Held;
    const int fd = CreateHiddenTemporary(target, exists ? S_IRUSR | S_IWUSR : mode_t(newFileMode), alone, tempPath);
    if (fd < 0) return false;
    const bool filled = FillTemporary(fd, bytes, exists ? &original : nullptr);
    const bool closed = ::close(fd) == 0;
    if (!filled || !closed || ::rename(tempPath.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(tempPath.constData());
        return Refuse(error);
    }
    SyncFolder(folder);
    return true;
}

bool ReplaceFileContent(const QByteArray& path, QByteArrayView bytes, unsigned newFileMode) {
    return LockedFile(path).Replace(bytes, newFileMode);
}

}  // namespace platform
