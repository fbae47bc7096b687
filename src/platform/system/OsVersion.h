#pragma once
// The operating-system version record, as the Windows version call fills it.

#include <QString>

namespace platform {

struct OsVersionRecord {
    qint32 majorVersion = 0;
    qint32 minorVersion = 0;
    qint32 buildNumber = 0;
    qint32 platformId = 0;   // 1: a desktop that guards nothing itself; 2: a protected system
    QString csdVersion;      // up to 128 characters, NUL-terminated
};

// On Linux: platform 2 (the desktop guards itself, as the NT family does),
// major, minor and build from the kernel release ("6.1.0-26" gives 6, 1, 0),
// the kernel's version text as the service-pack text. The environment
// variable ZORSCR_PLATFORM chooses another platform: "95" gives platform 1,
// version 4.0; "98" platform 1, version 4.10; "NT" platform 2; any other
// value is ignored.
OsVersionRecord ReadOsVersion();

}  // namespace platform
