#include "platform/ui/DesktopFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

namespace platform {

std::optional<int> DesktopFontHeight() {
    if (!QGuiApplication::primaryScreen()) return std::nullopt;
    return QFontMetrics(QGuiApplication::font()).height();
}

}  // namespace platform
