// Desktop services as the program asks them, for tests; prints "ready" once
// they serve. "upower true|false": on the system bus, UPower's OnBattery.
// "idle": on the session bus, GNOME's idle monitor, whose GetIdletime
// answers the milliseconds since the start or the last SIGUSR1 (the test's
// "input"), and gnome-session's IsInhibited, idleness held off from one
// SIGUSR2 to the next (a video player's inhibitor).

#include <signal.h>
#include <time.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

std::atomic<long long> lastInputMs{0};
std::atomic<bool> inhibited{false};

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // safe in a signal handler
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// A service of one object that answers one method; answer may decline a call (nullopt).
struct Service : QDBusVirtualObject {
    Service(QString name, QString path, QString interface, QString method,
            std::function<std::optional<QVariant>(const QVariantList&)> answer)
        : name(std::move(name)), path(std::move(path)), interface(std::move(interface)), method(std::move(method)),
          answer(std::move(answer)) {}
    QString introspect(const QString&) const override { return interface; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const std::optional<QVariant> reply = message.member() == method ? answer(message.arguments()) : std::nullopt;
        if (reply) connection.send(message.createReply(*reply));
        return reply.has_value();
    }
    QString name, path, interface, method;
    std::function<std::optional<QVariant>(const QVariantList&)> answer;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    lastInputMs = NowMs();
    signal(SIGUSR1, [](int) { lastInputMs = NowMs(); });
    signal(SIGUSR2, [](int) { inhibited = !inhibited; });
    const bool upower = argc > 1 && QByteArray(argv[1]) == "upower", onBattery = argc > 2 && QByteArray(argv[2]) == "true";
    QDBusConnection bus = upower ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
    std::vector<std::unique_ptr<Service>> services;
    if (upower) {
        services.push_back(std::make_unique<Service>(
            "org.freedesktop.UPower", "/org/freedesktop/UPower",
            "<interface name=\"org.freedesktop.UPower\"><property name=\"OnBattery\" type=\"b\" access=\"read\"/></interface>",
            "Get", [onBattery](const QVariantList& a) -> std::optional<QVariant> {
                if (a.value(0).toString() != "org.freedesktop.UPower" || a.value(1).toString() != "OnBattery") return std::nullopt;
                return QVariant::fromValue(QDBusVariant(onBattery));
            }));
    } else {
        services.push_back(std::make_unique<Service>(
            "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
            "<interface name=\"org.gnome.Mutter.IdleMonitor\"><method name=\"GetIdletime\">"
            "<arg type=\"t\" direction=\"out\"/></method></interface>",
            "GetIdletime", [](const QVariantList&) { return QVariant::fromValue(quint64(NowMs() - lastInputMs)); }));
        services.push_back(std::make_unique<Service>(
            "org.gnome.SessionManager", "/org/gnome/SessionManager",
            "<interface name=\"org.gnome.SessionManager\"><method name=\"IsInhibited\"><arg type=\"u\" direction=\"in\"/>"
            "<arg type=\"b\" direction=\"out\"/></method></interface>",
            "IsInhibited", [](const QVariantList& a) { return QVariant(inhibited && (a.value(0).toUInt() & 8)); }));
    }
    for (const auto& service : services) {
        if (!bus.registerVirtualObject(service->path, service.get()) || !bus.registerService(service->name)) {
            std::fprintf(stderr, "FakeDBus: %s\n", qPrintable(bus.lastError().message()));
            return 1;
        }
    }
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
