#pragma once

#include <QString>

namespace platform {

// The X11 id of a top-level window whose title equals caption, compared
// without regard to case; 0 when there is none or no display.
unsigned long FindTopLevelWindow(const QString& caption);

}  // namespace platform
