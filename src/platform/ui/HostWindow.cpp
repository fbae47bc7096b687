#include "platform/ui/HostWindow.h"

#include <QSocketNotifier>
#include <QTimer>
#include <X11/Xlib.h>

namespace platform {
namespace {

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }  // a host window may vanish at any time

// Runs call with X errors ignored and every request answered, so that a
// window that is gone makes the call fail instead of ending the process.
template <typename Call>
auto Guarded(Display* display, Call call) {
    auto previous = XSetErrorHandler(IgnoreXErrors);
    auto result = call();
    XSync(display, False);
    XSetErrorHandler(previous);
    return result;
}

bool Geometry(Display* display, unsigned long id, int& width, int& height, Window* rootOut = nullptr) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    const bool found = Guarded(display, [&] {
        return XGetGeometry(display, static_cast<Window>(id), &root, &x, &y, &w, &h, &border, &depth) != 0;
    });
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    if (rootOut) *rootOut = root;
    return found;
}

}  // namespace

HostWindowFacts LookUpHostWindow(unsigned long id) {
    HostWindowFacts facts;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return facts;
    facts.id = id != 0 ? id : DefaultRootWindow(display);
    Window root = 0;
    if (Geometry(display, facts.id, facts.width, facts.height, &root)) {
        for (int s = 0; s < ScreenCount(display); ++s)
            if (RootWindow(display, s) == root) facts.screen = s;
        facts.exists = true;
    }
    XCloseDisplay(display);
    return facts;
}

QString DisplayOnScreen(const QString& display, int screen) {
    const qsizetype colon = display.lastIndexOf(u':');
    if (colon < 0) return display;
    const qsizetype dot = display.indexOf(u'.', colon);
    return (dot < 0 ? display : display.left(dot)) + u'.' + QString::number(screen);
}

HostWindowWatch::HostWindowWatch(unsigned long id) : id_(id) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    const bool watching = Guarded(display_, [&] {
        XSelectInput(display_, static_cast<Window>(id_), StructureNotifyMask);
        return true;
    });
    int width = 0, height = 0;
    gone_ = !watching || !Geometry(display_, id_, width, height);
    notifier_ = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadEvents(); });
    // Events the sync above read are queued already; the socket will not tell.
    QTimer::singleShot(0, this, [this] {
        if (gone_) {
            if (Gone) Gone();
            return;
        }
        ReadEvents();
    });
}

HostWindowWatch::~HostWindowWatch() {
    delete notifier_;
    if (display_) XCloseDisplay(display_);
}

void HostWindowWatch::ReadEvents() {
    int width = -1, height = -1;
    bool destroyed = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == static_cast<Window>(id_)) {
            width = event.xconfigure.width;
            height = event.xconfigure.height;
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == static_cast<Window>(id_)) {
            destroyed = true;
        }
    }
    if (destroyed && !gone_) {
        gone_ = true;
        if (Gone) Gone();
        return;
    }
    if (width >= 0 && Resized) Resized(width, height);  // only the last of a burst of sizes
}

}  // namespace platform
