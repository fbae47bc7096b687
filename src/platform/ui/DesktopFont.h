#pragma once
// The desktop's default font, as a program measures it through the
// desktop's device context.

#include <optional>

namespace platform {

// The character cell height of the desktop's default font, in pixels; none
// when there is no screen to measure on.
std::optional<int> DesktopFontHeight();

}  // namespace platform
