#include "platform/media/WindowSystemDisplay.h"

#include <QGuiApplication>
#include <QLatin1String>
#include <qpa/qplatformnativeinterface.h>

namespace platform::media {
namespace {

// Qt 6.4 gives its wl_display only through the platform's native interface, a
// private class whose layout may change from one Qt release to the next: it
// is asked only when the Qt the program runs with is the one it was built
// with (Debian rebuilds it with each Qt). Without it the decoder copies.
void* WaylandDisplay() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return nullptr;
    if (QLatin1String(qVersion()) != QLatin1String(QT_VERSION_STR)) return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return native ? native->nativeResourceForIntegration("wl_display") : nullptr;
}

}  // namespace

mpv_render_param WindowSystemDisplay() {
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return {MPV_RENDER_PARAM_X11_DISPLAY, x11->display()};
    if (void* wayland = WaylandDisplay()) return {MPV_RENDER_PARAM_WL_DISPLAY, wayland};
    return {MPV_RENDER_PARAM_INVALID, nullptr};
}

}  // namespace platform::media
