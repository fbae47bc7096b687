// GNOME's idle monitor as the idle mode asks it, for tests: on the session
// bus DBUS_SESSION_BUS_ADDRESS names, GetIdletime answers the milliseconds
// since the monitor started or since its last SIGUSR1 (the test's "input"),
// and gnome-session's IsInhibited says whether idleness is held off: from
// one SIGUSR2 to the next (a video player's inhibitor).

#include <signal.h>
#include <time.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <atomic>
#include <cstdio>

namespace {

std::atomic<long long> lastInputMs{0};
std::atomic<bool> inhibited{false};

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // safe in a signal handler
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

class SessionManager : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override {
        return QStringLiteral("<interface name=\"org.gnome.SessionManager\">"
                              "<method name=\"IsInhibited\"><arg type=\"u\" direction=\"in\"/>"
                              "<arg type=\"b\" direction=\"out\"/></method></interface>");
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("IsInhibited")) return false;
        connection.send(message.createReply(QVariant(inhibited && message.arguments().value(0).toUInt() & 8)));
        return true;
    }
};

class Monitor : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override {
        return QStringLiteral("<interface name=\"org.gnome.Mutter.IdleMonitor\">"
                              "<method name=\"GetIdletime\"><arg type=\"t\" direction=\"out\"/></method>"
                              "</interface>");
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("GetIdletime")) return false;
        connection.send(message.createReply(QVariant::fromValue(static_cast<quint64>(NowMs() - lastInputMs))));
        return true;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    lastInputMs = NowMs();
    signal(SIGUSR1, [](int) { lastInputMs = NowMs(); });
    signal(SIGUSR2, [](int) { inhibited = !inhibited; });
    Monitor monitor;
    SessionManager manager;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), &monitor) ||
        !bus.registerService(QStringLiteral("org.gnome.Mutter.IdleMonitor")) ||
        !bus.registerVirtualObject(QStringLiteral("/org/gnome/SessionManager"), &manager) ||
        !bus.registerService(QStringLiteral("org.gnome.SessionManager"))) {
        std::fprintf(stderr, "FakeIdleMonitor: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
