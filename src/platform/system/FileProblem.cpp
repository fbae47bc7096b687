#include "platform/system/FileProblem.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/WriteTarget.h"

namespace platform {
namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

QString NotRegularReason(mode_t mode) {
    if (S_ISREG(mode)) return {};
    const char* what = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "of an unknown type";
    return QStringLiteral("not a regular file (%1)").arg(QLatin1String(what));
}

QString ReadProblem(const QString& path, qint64 maxBytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat facts {};
    if (::stat(name.constData(), &facts) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) return QStringLiteral("does not exist");
        if (error == ELOOP) return QStringLiteral("is a symbolic link that leads round in a loop");
        return QStringLiteral("cannot be read: ") + SystemReason(error);
    }
    if (S_ISDIR(facts.st_mode)) return QStringLiteral("is a folder");
    if (!S_ISREG(facts.st_mode)) return QStringLiteral("is ") + NotRegularReason(facts.st_mode);
    if (facts.st_size > maxBytes)
        return QStringLiteral("is larger than %1 MiB").arg(maxBytes >> 20);
    if (::access(name.constData(), R_OK) != 0) return QStringLiteral("cannot be read: ") + SystemReason(errno);
    if (facts.st_size == 0) return QStringLiteral("is empty");
    return {};
}

QString WriteProblem(const QString& path) {
    if (QString refused; !WriteTarget(QFile::encodeName(path), &refused)) return refused;
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat facts {};
    if (::stat(QFile::encodeName(path).constData(), &facts) == 0 && !(facts.st_mode & S_IWUSR))
        return QStringLiteral("is read-only");
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("is in a folder that cannot be written (%1)").arg(SystemReason(errno));
    return QStringLiteral("could not be written (a full disk, or another copy of the program kept it locked)");
}

}  // namespace platform
