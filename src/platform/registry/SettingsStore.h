#pragma once
// The application settings store (VB's GetSetting and SaveSetting): values
// of application, section and key, kept in the user's registry file under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.

#include <QString>

namespace platform::registry {

// The text stored, or defaultValue when there is none, it is not text, or
// the store cannot be read.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});
// Raises run-time error 75, its description naming the reason, when the
// value cannot be stored.
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& setting);

}  // namespace platform::registry
