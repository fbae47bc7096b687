#include "platform/system/HiddenTemporary.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kSuffixChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr qsizetype kSuffixLength = 6;
constexpr char kMarker[] = ".zortmp-";
constexpr int kCreateTries = 100;

qsizetype NameStart(const QByteArray& path) { return path.lastIndexOf('/') + 1; }

// ".<name>.zortmp-" for the file at path.
QByteArray Prefix(const QByteArray& path) { return "." + path.sliced(NameStart(path)) + kMarker; }

bool IsSuffix(QByteArrayView text) {
    if (text.size() != kSuffixLength) return false;
    for (const char c : text)
        if (c == '\0' || !std::strchr(kSuffixChars, c)) return false;
    return true;
}

}  // namespace

int CreateHiddenTemporary(const QByteArray& path, mode_t mode, QByteArray& tempPath) {
    const QByteArray start = path.first(NameStart(path)) + Prefix(path);
    for (int attempt = 0; attempt < kCreateTries; ++attempt) {
        QByteArray suffix(kSuffixLength, '\0');
        for (char& c : suffix)
            c = kSuffixChars[QRandomGenerator::global()->bounded(int(sizeof kSuffixChars - 1))];
        tempPath = start + suffix;
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void RemoveLeftoverTemporaries(const QByteArray& path) {
    const QByteArray folder = NameStart(path) == 0 ? QByteArray(".") : path.first(NameStart(path));
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;  // the write that follows reports a folder it cannot use
    const QByteArray prefix = Prefix(path);
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (!name.startsWith(prefix) || !IsSuffix(name.sliced(prefix.size()))) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            (me == 0 || st.st_uid == me))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace platform
