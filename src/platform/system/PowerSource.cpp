#include "platform/system/PowerSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace platform {

PowerSource ReadPowerSource() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return {false, false, QStringLiteral("no system bus: ") + bus.lastError().message()};
    const QString service = QStringLiteral("org.freedesktop.UPower");
    QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/UPower"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << service << QStringLiteral("OnBattery");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kPowerSourceTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return {false, false, reply.errorMessage()};
    const QVariant value = reply.arguments().value(0).value<QDBusVariant>().variant();
    if (value.typeId() != QMetaType::Bool) return {false, false, QStringLiteral("UPower's OnBattery is not a boolean")};
    return {true, value.toBool(), {}};
}

}  // namespace platform
