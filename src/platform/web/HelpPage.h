#pragma once
// The program's help page, installed beside the executable.

#include <QString>

namespace platform {

// The program's folder followed by "/ZORhlp.htm".
QString HelpPagePath();

}  // namespace platform
