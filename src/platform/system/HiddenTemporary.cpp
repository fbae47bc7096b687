#include "platform/system/HiddenTemporary.h"

#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kSuffixChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr qsizetype kSuffixLength = 6;
constexpr int kCreateTries = 100;

int CreateExclusive(const QByteArray& path, mode_t mode) {
    return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

// A temporary a killed writer left: our own kind of file, nothing a user made.
void RemoveLeftover(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && (::geteuid() == 0 || st.st_uid == ::geteuid()))
        ::unlink(path.constData());
}

}  // namespace

int CreateHiddenTemporary(const QByteArray& path, mode_t mode, bool alone, QByteArray& tempPath) {
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    const QByteArray fixed = path.first(nameStart) + "." + path.sliced(nameStart) + ".zortmp";
    if (alone) {
        RemoveLeftover(fixed);
        tempPath = fixed;
        const int fd = CreateExclusive(tempPath, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    for (int attempt = 0; attempt < kCreateTries; ++attempt) {
        QByteArray suffix(kSuffixLength, '\0');
        for (char& c : suffix)
            c = kSuffixChars[QRandomGenerator::global()->bounded(int(sizeof kSuffixChars - 1))];
        tempPath = fixed + "-" + suffix;
        const int fd = CreateExclusive(tempPath, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace platform
