#include "platform/registry/UserRegistry.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/AtomicFile.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"

namespace platform::registry {
namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER\\");
constexpr mode_t kPrivateFile = S_IRUSR | S_IWUSR;

QString Reason(const char* what) { return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno))); }

// A step of a write that failed: *why says how.
bool Failed(QString* why, const QString& reason) {
    *why = reason;
    return false;
}

enum class Load { Read, Missing, Failed };

// The whole file, opened without blocking and only when it is a regular one.
Load ReadStore(const QByteArray& path, QByteArray& bytes, QString* why) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return Load::Missing;
        if (why) *why = Reason("cannot open the store");
        return Load::Failed;
    }
    struct stat st {};
    Load result = Load::Failed;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (why) *why = QStringLiteral("the store is not a regular file");
    } else if (st.st_size > kMaxStoreBytes) {
        if (why) *why = QStringLiteral("the store is larger than %1 bytes").arg(kMaxStoreBytes);
    } else {
        bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += got;
        }
        bytes.truncate(done);
        result = Load::Read;
    }
    ::close(fd);
    return result;
}

}  // namespace

QString StorePath() { return UserConfigDirectory() + QStringLiteral("/user.reg"); }

ReadResult QueryValue(const QString& key, const QString& name, RegValue& value) {
    QByteArray bytes;
    switch (ReadStore(QFile::encodeName(StorePath()), bytes, nullptr)) {
    case Load::Missing:
        return ReadResult::Missing;
    case Load::Failed:
        return ReadResult::Failed;
    case Load::Read:
        break;
    }
    const std::optional<RegFile> file = RegFile::Parse(bytes);
    if (!file) return ReadResult::Failed;
    const std::optional<RegValue> found = file->Find(kRoot + key, name);
    if (!found) return ReadResult::Missing;
    value = *found;
    return ReadResult::Found;
}

bool SetValue(const QString& key, const QString& name, const RegValue& value, QString* why) {
    QString reason;
    const QString folder = UserConfigDirectory();
    if (!MakePrivateFolder(folder, &reason)) return Failed(why, reason);
    const QByteArray path = QFile::encodeName(StorePath());
    const LockedFile store(path);
    if (!store.Usable()) return Failed(why, store.reason());

    QByteArray bytes;
    const Load load = ReadStore(path, bytes, &reason);
    if (load == Load::Failed) return Failed(why, reason);
    std::optional<RegFile> file = RegFile::Parse(bytes);
    if (!file) return Failed(why, QStringLiteral("the store is not a registry file; it is left as it is"));
    if (!file->Set(kRoot + key, name, value)) return Failed(why, QStringLiteral("the value cannot be held in the store"));
    // A store made readable to others (by hand, or by an older copy) is made
    // private again; a read-only one stays read-only and the write fails.
    struct stat st {};
    if (load == Load::Read && ::stat(path.constData(), &st) == 0) ::chmod(path.constData(), st.st_mode & kPrivateFile);
    if (!store.Replace(file->Serialize(), kPrivateFile)) return Failed(why, Reason("cannot replace the store"));
    return true;
}

}  // namespace platform::registry
