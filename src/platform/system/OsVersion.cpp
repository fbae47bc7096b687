#include "platform/system/OsVersion.h"

#include <QRegularExpression>
#include <sys/utsname.h>

namespace platform {

namespace {

// A user who wants the show itself to ask for the password (a kiosk, a
// desktop without a screen locker) names a platform that guards nothing.
void ApplyChosenPlatform(OsVersionRecord& record) {
    const QString chosen = qEnvironmentVariable("ZORSCR_PLATFORM").trimmed().toUpper();
    if (chosen == QLatin1String("95") || chosen == QLatin1String("98")) {
        record.platformId = 1;
        record.majorVersion = 4;
        record.minorVersion = chosen == QLatin1String("98") ? 10 : 0;
    } else if (chosen == QLatin1String("NT")) {
        record.platformId = 2;
    }
}

}  // namespace

OsVersionRecord ReadOsVersion() {
    OsVersionRecord record;
    record.platformId = 2;
    struct utsname names {};
    if (::uname(&names) == 0) {
        static const QRegularExpression release(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
        const auto match = release.match(QString::fromLocal8Bit(names.release));
        if (match.hasMatch()) {
            record.majorVersion = match.captured(1).toInt();
            record.minorVersion = match.captured(2).toInt();
            record.buildNumber = match.captured(3).toInt();
        }
        record.csdVersion = QString::fromLocal8Bit(names.version).left(127);
    }
    ApplyChosenPlatform(record);
    return record;
}

}  // namespace platform
