// GNOME's idle monitor as the idle mode asks it, for tests: on the session
// bus DBUS_SESSION_BUS_ADDRESS names, GetIdletime answers the milliseconds
// since the monitor started or since its last SIGUSR1 (the test's "input").

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

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // safe in a signal handler
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

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
    Monitor monitor;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), &monitor) ||
        !bus.registerService(QStringLiteral("org.gnome.Mutter.IdleMonitor"))) {
        std::fprintf(stderr, "FakeIdleMonitor: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
