// UPower as the show asks it, for tests: on the system bus
// DBUS_SYSTEM_BUS_ADDRESS names, org.freedesktop.UPower's OnBattery is the
// first argument ("true" or "false"). Prints "ready" once it serves.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <cstdio>

namespace {

const QString kUPower = QStringLiteral("org.freedesktop.UPower");

class UPower : public QDBusVirtualObject {
public:
    explicit UPower(bool onBattery) : onBattery_(onBattery) {}
    QString introspect(const QString&) const override {
        return QStringLiteral("<interface name=\"org.freedesktop.UPower\">"
                              "<property name=\"OnBattery\" type=\"b\" access=\"read\"/></interface>");
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Get") || message.arguments().value(0).toString() != kUPower ||
            message.arguments().value(1).toString() != QLatin1String("OnBattery"))
            return false;
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(onBattery_))));
        return true;
    }

private:
    bool onBattery_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    UPower upower(argc > 1 && QByteArray(argv[1]) == "true");
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/UPower"), &upower) ||
        !bus.registerService(kUPower)) {
        std::fprintf(stderr, "FakeUPower: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
