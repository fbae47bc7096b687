#include "password/PasswordStore.h"

#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "errors/SupportNotice.h"
#include "password/Regqry.h"
#include "platform/registry/SettingsStore.h"
#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "state/RunState.h"
#include "sysinfo/SysInfo.h"

namespace {

const QString kAppName = QStringLiteral("Zorascope");
const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("Hello");

// Both reports end the program; where the log cannot be written, so does this.
[[noreturn]] void ReportAndEnd(const QString& code, const vb::VbError& e, const QString& explanation) {
    LogError(QStringLiteral("<<ERR") + code + QStringLiteral(">> - ZOR Registry Read Failure ") +
                 NumberAndDescription(e.number(), e.description()) + explanation +
                 QStringLiteral(" Please see your System Administrator or Contact your support Departement.") +
                 QStringLiteral(" ZOR will now terminate.") + QStringLiteral(" Please e-mail: ") + SupportEMail() +
                 QStringLiteral(" with Initialisation Error ") + code + QStringLiteral(" as the subject header.\r\n"),
             true);
    platform::ShowCursor(true);
    vb::EndProgram();
}

}  // namespace

void ReadPassword() {
    vb::OnError(
        [] {
            if (ReadRegistryValue(QStringLiteral("Control Panel\\desktop"), QStringLiteral("ScreenSaveUsePassword")) ==
                QLatin1String("0")) {
                gPassword.clear();
            } else {
                gPassword = platform::registry::GetSetting(kAppName, kSection, kKey, kDefaultPassword);
            }
        },
        [](const vb::VbError& e) {
            ReportAndEnd(QStringLiteral("306"), e,
                         QStringLiteral("Unable to read the Screensaver OR Application Registry Key. "
                                        "You may not have sufficient access rights ! "
                                        "OR ZOR cannot find the Control Panel\\desktop Key in the Registry ! "));
        });
}

void SavePassword() {
    vb::OnError([] { platform::registry::SaveSetting(kAppName, kSection, kKey, gPassword); },
                [](const vb::VbError& e) {
                    ReportAndEnd(QStringLiteral("307"), e,
                                 QStringLiteral("Unable to write to the Registry. "
                                                "You may not have sufficient access rights ! "));
                });
}

void DecidePasswordInForce() {
    const QString platformName = SysInfo().Platform();
    if (platformName == QLatin1String("Windows 95") || platformName == QLatin1String("Windows 98")) {
        ReadPassword();
        gUsePassword = !gPassword.isEmpty();
    } else {
        gUsePassword = false;
    }
}
