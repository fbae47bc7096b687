#pragma once
// Which of the remote control's two layouts fits the desktop's fonts.

#include <QString>

namespace remote {

// "LARGE" when the desktop's default font has a character cell taller than
// 16 pixels, else (and when it cannot be measured) "SMALL".
QString ScreenFontSize();

}  // namespace remote
