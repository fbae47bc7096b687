#pragma once
// Shaping this program's windows (SetWindowRgn): only the pixels of the
// region are drawn and take the mouse; elsewhere the windows below show and
// are clicked (on X11 through the window's shape). The region is copied;
// its coordinates start at the window's top-left corner, which for the
// frameless windows this is used on is the top-left of the client area.

#include "platform/gdi/Region.h"

namespace platform {

// region null removes the shape. redraw repaints the window. False when
// hWnd names none of this program's windows.
bool SetWindowRgn(unsigned long hWnd, const gdi::Region* region, bool redraw);

}  // namespace platform
