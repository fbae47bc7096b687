#include "remote/ScreenFontSize.h"

#include "platform/ui/DesktopFont.h"

namespace remote {

QString ScreenFontSize() {
    const std::optional<int> height = platform::DesktopFontHeight();
    return height && *height > 16 ? QStringLiteral("LARGE") : QStringLiteral("SMALL");
}

}  // namespace remote
