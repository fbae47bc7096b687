#include "platform/ui/SessionIdle.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <X11/Xlib.h>  // last: its macros clash with Qt's names
#include <X11/extensions/scrnsaver.h>

namespace platform {
namespace {

const QString kGnomeMonitor = QStringLiteral("org.gnome.Mutter.IdleMonitor");

bool GnomeMonitorRuns() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(kGnomeMonitor).value();
}

}  // namespace

SessionIdle::SessionIdle() {
    gnome_ = GnomeMonitorRuns();
    if (gnome_) return;
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

QString SessionIdle::Source() const {
    return gnome_ ? QStringLiteral("GNOME's idle monitor") : QStringLiteral("the X server");
}

std::optional<long long> SessionIdle::IdleMs() const {
    if (!error_.isEmpty()) return std::nullopt;
    if (gnome_) {
        const QDBusReply<quint64> reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            kGnomeMonitor, QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), kGnomeMonitor,
            QStringLiteral("GetIdletime")));
        if (!reply.isValid()) return std::nullopt;
        return static_cast<long long>(reply.value());
    }
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info) return std::nullopt;
    std::optional<long long> idle;
    if (XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info)) idle = static_cast<long long>(info->idle);
    XFree(info);
    return idle;
}

}  // namespace platform
