#include "platform/system/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

}  // namespace platform
