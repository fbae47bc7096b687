#pragma once
// What "--help" and "--version" print.

#include <QString>

namespace startup {

// The run modes, switches, environment variables and exit statuses, one
// trailing newline.
QString UsageText();
// "ZORScr <version>", the version the build names (CMake's project version).
QString VersionText();

}  // namespace startup
