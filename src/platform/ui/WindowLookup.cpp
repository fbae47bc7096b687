#include "platform/ui/WindowLookup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <memory>

namespace platform {
namespace {

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }  // windows may vanish while we look

QString WindowTitle(Display* display, Window window) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success && data) {
        QString title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
        XFree(data);
        if (type == utf8) return title;
    }
    XTextProperty text{};
    if (XGetWMName(display, window, &text) && text.value) {
        QString title = QString::fromLocal8Bit(reinterpret_cast<const char*>(text.value), static_cast<qsizetype>(text.nitems));
        XFree(text.value);
        return title;
    }
    return {};
}

// Top-level windows are the root's children, or under a window manager the
// client windows inside the frames that are the root's children.
Window Search(Display* display, Window parent, const QString& caption, int depth) {
    Window root = 0, parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count)) return 0;
    std::unique_ptr<Window, int (*)(void*)> guard(children, XFree);
    for (unsigned int i = count; i-- > 0;) {  // topmost first
        if (WindowTitle(display, children[i]).compare(caption, Qt::CaseInsensitive) == 0) return children[i];
    }
    if (depth == 0) return 0;
    for (unsigned int i = count; i-- > 0;) {
        if (Window found = Search(display, children[i], caption, depth - 1)) return found;
    }
    return 0;
}

}  // namespace

unsigned long FindTopLevelWindow(const QString& caption) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    auto previous = XSetErrorHandler(IgnoreXErrors);
    const Window found = Search(display, DefaultRootWindow(display), caption, 1);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found;
}

}  // namespace platform
