#include "platform/system/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool NormalFileExists(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(u'\0'))) return false;
    const QString name = path.section(u'/', -1);
    if (name.isEmpty() || name.startsWith(u'.')) return false;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
    return S_ISREG(st.st_mode);
}

bool MakePrivateFolder(const QString& folder, QString* why) {
    const QString above = QFileInfo(folder).path();
    if (!QDir().mkpath(above)) {
        if (why) *why = QStringLiteral("cannot make the folder %1").arg(above);
        return false;
    }
    if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && errno != EEXIST) {
        if (why) *why = QStringLiteral("cannot make the folder %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes, QString* why) {
    why->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) *why = QStringLiteral("%1 cannot be read: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    struct stat facts {};
    QByteArray content;
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_uid != ::geteuid()) {
        *why = QStringLiteral("%1 is not a file of the user's own").arg(path);
    } else if (facts.st_size > maxBytes) {
        *why = QStringLiteral("%1 is longer than %2 bytes").arg(path).arg(maxBytes);
    } else {
        content.resize(facts.st_size);
        const ssize_t got = ::read(fd, content.data(), static_cast<size_t>(content.size()));
        if (got < 0) *why = QStringLiteral("%1 cannot be read: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        content.truncate(got < 0 ? 0 : got);
    }
    ::close(fd);
    if (!why->isEmpty()) return std::nullopt;
    return content;
}

}  // namespace platform
