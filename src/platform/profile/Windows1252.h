#pragma once
// Windows-1252, the ANSI code page INI files were written in on Windows.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control with the same number, so every byte has a
// character and comes back unchanged.

#include <QtGlobal>

namespace platform::profile {

char16_t Windows1252ToUnicode(uchar byte);
// The byte for the character, or -1 when the code page has none.
int UnicodeToWindows1252(char16_t character);

}  // namespace platform::profile
