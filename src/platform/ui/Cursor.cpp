#include "platform/ui/Cursor.h"

namespace platform {
namespace {
int displayCount = 0;
}

int ShowCursor(bool show) {
    displayCount += show ? 1 : -1;
    return displayCount;
}

int CursorDisplayCount() { return displayCount; }

}  // namespace platform
