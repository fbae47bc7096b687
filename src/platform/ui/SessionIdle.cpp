#include "platform/ui/SessionIdle.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace platform {

SessionIdle::SessionIdle() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        error_ = QStringLiteral("no X display to watch for idleness (DISPLAY is \"%1\")").arg(qEnvironmentVariable("DISPLAY"));
        return;
    }
    int event = 0, error = 0;
    if (!XScreenSaverQueryExtension(display_, &event, &error))
        error_ = QStringLiteral("the X server has no screen saver extension (MIT-SCREEN-SAVER), which tells how long it has been idle");
}

SessionIdle::~SessionIdle() {
    if (display_) XCloseDisplay(display_);
}

std::optional<long long> SessionIdle::IdleMs() const {
    if (!error_.isEmpty()) return std::nullopt;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info) return std::nullopt;
    std::optional<long long> idle;
    if (XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info)) idle = static_cast<long long>(info->idle);
    XFree(info);
    return idle;
}

}  // namespace platform
