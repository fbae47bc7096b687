#include "platform/registry/SettingsStore.h"

#include "platform/registry/UserRegistry.h"
#include "platform/vb/VbError.h"

namespace platform::registry {
namespace {

QString SectionKey(const QString& appName, const QString& section) {
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + appName + u'\\' + section;
}

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    RegValue value;
    if (QueryValue(SectionKey(appName, section), key, value) != ReadResult::Found || value.type != ValueType::String)
        return defaultValue;
    return value.text;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& setting) {
    QString why;
    if (!SetValue(SectionKey(appName, section), key, {ValueType::String, setting, 0}, &why)) {
        const qint32 number = vb::ErrNum::PathFileAccessError;
        vb::Raise(number, QString(), vb::StandardDescription(number) + QStringLiteral(" (") + why + u')');
    }
}

}  // namespace platform::registry
