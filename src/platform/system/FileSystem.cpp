#include "platform/system/FileSystem.h"

#include <QFile>
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

}  // namespace platform
