#pragma once
// The mouse cursor's display count: each show adds one, each hide takes one
// away, and the pointer is visible while the count is 0 or more. While the
// count is negative the pointer is blank over the program's windows.

namespace platform {

// Returns the new display count.
int ShowCursor(bool show);
int CursorDisplayCount();

// Moves the pointer to (x, y) in screen pixels; nothing on Wayland, where
// only the user moves it.
void SetCursorPos(int x, int y);

}  // namespace platform
