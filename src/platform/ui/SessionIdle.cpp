#include "platform/ui/SessionIdle.h"

#include "platform/ui/WaylandIdle.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <algorithm>

#include <X11/Xlib.h>  // last: its macros clash with Qt's names
#include <X11/extensions/scrnsaver.h>

namespace platform {
namespace {

const QString kGnomeMonitor = QStringLiteral("org.gnome.Mutter.IdleMonitor");

// gnome-session's flag for programs that hold idleness off (a video player).
constexpr uint kIdleInhibited = 8;

bool GnomeMonitorRuns() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(kGnomeMonitor).value();
}

}  // namespace

SessionIdle::SessionIdle(long long thresholdMs) : thresholdMs_(thresholdMs) {
    if (auto wayland = std::make_unique<WaylandIdle>(thresholdMs); wayland->Usable()) {
        wayland_ = std::move(wayland);
        return;
    }
    gnome_ = GnomeMonitorRuns();
    if (gnome_) return;
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        error_ = QStringLiteral("no desktop tells when the session is idle: no Wayland compositor offering idle "
                                "notifications, no GNOME idle monitor, no X display (DISPLAY is \"%1\")")
                     .arg(qEnvironmentVariable("DISPLAY"));
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
    if (wayland_) return wayland_->Protocol();
    return gnome_ ? QStringLiteral("GNOME's idle monitor") : QStringLiteral("the X server");
}

int SessionIdle::Fd() const { return wayland_ ? wayland_->Fd() : -1; }

bool SessionIdle::Dispatch() { return !wayland_ || wayland_->Dispatch(); }

std::optional<long long> SessionIdle::MsUntilIdle() const {
    if (wayland_) return wayland_->Idle() ? 0 : -1;
    const std::optional<long long> idle = IdleMs();
    if (!idle) return std::nullopt;
    if (*idle >= thresholdMs_ && Inhibited()) return thresholdMs_;  // asked again a threshold on
    return std::max(0LL, thresholdMs_ - *idle);
}

bool SessionIdle::Inhibited() const {
    if (!gnome_) return false;
    const QString manager = QStringLiteral("org.gnome.SessionManager");
    QDBusMessage call = QDBusMessage::createMethodCall(manager, QStringLiteral("/org/gnome/SessionManager"), manager,
                                                       QStringLiteral("IsInhibited"));
    call << kIdleInhibited;
    const QDBusReply<bool> reply = QDBusConnection::sessionBus().call(call);
    return reply.isValid() && reply.value();  // no session manager: nothing holds it off
}

std::optional<bool> SessionIdle::InputSince(Clock::time_point moment) const {
    if (wayland_) return wayland_->LastInput() > moment;
    const std::optional<long long> idle = IdleMs();
    if (!idle) return std::nullopt;
    return *idle < std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - moment).count();
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
