#include "sysinfo/SysInfo.h"

#include "config/ModString.h"
#include "platform/vb/VbString.h"

using namespace config;

namespace sysinfo {

SysInfo::SysInfo() : SysInfo(platform::ReadOsVersion()) {}

SysInfo::SysInfo(const platform::OsVersionRecord& record) : record_(record) {
    record_.csdVersion = CutAtNul(record_.csdVersion);
    if (record_.platformId == 1) {
        is95_ = record_.minorVersion < 10;
        is98_ = record_.minorVersion >= 10;
    } else if (record_.platformId == 2) {
        isNT_ = true;
    }
}

qint32 SysInfo::BuildNumber() const { return static_cast<qint16>(record_.buildNumber & 0xFFFF); }

QString SysInfo::Platform() const {
    if (is95_) return QStringLiteral("Windows 95");
    if (is98_) return QStringLiteral("Windows 98");
    return QStringLiteral("Windows NT");
}

QString SysInfo::Version() const {
    return Platform() + QStringLiteral(" v") + QString::number(MajorVersion()) + u'.' + QString::number(MinorVersion()) +
           QStringLiteral(", Build ") + QString::number(BuildNumber());
}

QString SysInfo::CSDVersion() const { return vb::Trim(record_.csdVersion); }

}  // namespace sysinfo
