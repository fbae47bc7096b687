#include "platform/ui/ForeignWindow.h"

#include <QWidget>
#include <QWindow>
#include <X11/Xlib.h>

namespace platform {
namespace {

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// XGetGeometry of an id that names no window raises an X error; it is
// ignored here and the call reports failure.
bool QueryGeometry(unsigned long windowId, unsigned int& width, unsigned int& height, QPoint* centre = nullptr) {
    if (windowId == 0) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    auto previous = XSetErrorHandler(IgnoreXErrors);
    Window root = 0;
    int x = 0, y = 0;
    unsigned int border = 0, depth = 0;
    const bool found = XGetGeometry(display, static_cast<Window>(windowId), &root, &x, &y, &width, &height, &border,
                                    &depth) != 0;
    Window child = 0;
    if (found && centre && XTranslateCoordinates(display, static_cast<Window>(windowId), root, int(width / 2),
                                                 int(height / 2), &x, &y, &child))
        *centre = QPoint(x, y);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found;
}

}  // namespace

ClientRect GetClientRect(unsigned long windowId) {
    unsigned int width = 0, height = 0;
    if (!QueryGeometry(windowId, width, height)) return {};
    return {0, 0, static_cast<int>(width), static_cast<int>(height)};
}

std::optional<QPoint> ForeignWindowCentre(unsigned long windowId) {
    unsigned int width = 0, height = 0;
    QPoint centre;
    if (!QueryGeometry(windowId, width, height, &centre)) return std::nullopt;
    return centre;
}

bool ParentIntoForeignWindow(QWidget& window, unsigned long windowId, int width, int height) {
    unsigned int w = 0, h = 0;
    if (!QueryGeometry(windowId, w, h)) return false;
    QWindow* host = QWindow::fromWinId(static_cast<WId>(windowId));
    if (!host) return false;
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.winId();  // a native window to reparent
    window.windowHandle()->setParent(host);
    window.setGeometry(0, 0, width, height);
    window.show();
    return true;
}

}  // namespace platform
