#include "platform/ui/WindowCaption.h"

#include <QGuiApplication>
#include <QWidget>
#include <X11/Xlib.h>

namespace platform {

void KeepCaptionEmpty(QWidget& window) {
    if (!window.windowTitle().isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    // WM_NAME is empty already; _NET_WM_NAME, which window lists prefer, holds the application's name.
    XDeleteProperty(display, static_cast<Window>(window.winId()), XInternAtom(display, "_NET_WM_NAME", False));
    XCloseDisplay(display);
}

}  // namespace platform
