#pragma once
// The operating-system version, read once when the object is created.

#include <QString>

#include "platform/system/OsVersion.h"

namespace sysinfo {

class SysInfo {
public:
    SysInfo();
    explicit SysInfo(const platform::OsVersionRecord& record);

    qint32 MajorVersion() const { return record_.majorVersion; }
    qint32 MinorVersion() const { return record_.minorVersion; }
    qint32 BuildNumber() const;
    qint32 PlatformID() const { return record_.platformId; }
    bool IsWinNT() const { return isNT_; }
    bool IsWin95() const { return is95_; }
    bool IsWin98() const { return is98_; }
    QString Platform() const;
    QString Version() const;
    QString CSDVersion() const;

private:
    platform::OsVersionRecord record_;
    bool isNT_ = false;
    bool is95_ = false;
    bool is98_ = false;
};

}  // namespace sysinfo
