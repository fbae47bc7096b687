#include "platform/system/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The folder opened, when it is a folder of the user's own with mode 0700
// and not a link; -1 with the reason otherwise.
int OpenIfPrivate(const QString& folder, QString* why) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *why = QStringLiteral("%1 cannot be opened: %2").arg(folder, SystemReason(errno));
        return -1;
    }
    struct stat facts {};
    if (::fstat(fd, &facts) == 0 && facts.st_uid == ::geteuid() && (facts.st_mode & 07777) == S_IRWXU) return fd;
    ::close(fd);
    *why = QStringLiteral("%1 is not a folder of the user's own with mode 0700").arg(folder);
    return -1;
}

struct Decision {
    int fd = -1;
    QString why;
};

Decision Decide() {
    Decision decision;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && (decision.fd = OpenIfPrivate(runtime, &decision.why)) >= 0) return decision;
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString own = cache + QStringLiteral("/ZORScr");
    if (!QDir().mkpath(cache)) {
        decision.why = QStringLiteral("%1 cannot be made").arg(cache);
        return decision;
    }
    if (::mkdir(QFile::encodeName(own).constData(), S_IRWXU) != 0 && errno != EEXIST) {
        decision.why = QStringLiteral("%1 cannot be made: %2").arg(own, SystemReason(errno));
        return decision;
    }
    decision.fd = OpenIfPrivate(own, &decision.why);
    return decision;
}

}  // namespace

int PrivateFolder(QString* why) {
    static const Decision decision = Decide();
    if (decision.fd < 0 && why) *why = QStringLiteral("no private folder for lock files: ") + decision.why;
    return decision.fd;
}

int OpenPrivateLockFile(const QByteArray& name, QString* why) {
    QString reason;
    const int folder = PrivateFolder(&reason);
    int fd = -1;
    if (folder >= 0) {
        fd = ::openat(folder, name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
        struct stat facts {};
        if (fd < 0) {
            reason = QStringLiteral("the lock file %1 cannot be opened: %2").arg(QString::fromLocal8Bit(name), SystemReason(errno));
        } else if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_uid != ::geteuid()) {
            ::close(fd);
            fd = -1;
            reason = QStringLiteral("the lock file %1 is not a file of the user's own").arg(QString::fromLocal8Bit(name));
        }
    }
    if (fd < 0 && why) *why = reason;
    return fd;
}

}  // namespace platform
