#include "platform/system/OsVersion.h"

#include <QRegularExpression>
#include <sys/utsname.h>

namespace platform {

OsVersionRecord ReadOsVersion() {
    OsVersionRecord record;
    record.platformId = 2;
    struct utsname names {};
    if (::uname(&names) != 0) return record;
    static const QRegularExpression release(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const auto match = release.match(QString::fromLocal8Bit(names.release));
    if (match.hasMatch()) {
        record.majorVersion = match.captured(1).toInt();
        record.minorVersion = match.captured(2).toInt();
        record.buildNumber = match.captured(3).toInt();
    }
    record.csdVersion = QString::fromLocal8Bit(names.version).left(127);
    return record;
}

}  // namespace platform
