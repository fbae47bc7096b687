#pragma once
// The mouse cursor's display count: each show adds one, each hide takes one
// away, and the pointer is visible while the count is 0 or more.

namespace platform {

// Returns the new display count.
int ShowCursor(bool show);
int CursorDisplayCount();

}  // namespace platform
