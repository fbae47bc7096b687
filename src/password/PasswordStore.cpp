#include "password/PasswordStore.h"

#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "errors/SupportNotice.h"
#include "password/PasswordDialog.h"
#include "password/Regqry.h"
#include "platform/registry/SettingsStore.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "state/RunState.h"
#include "sysinfo/SysInfo.h"

using namespace state;
using namespace errors;
using namespace config;
using namespace sysinfo;

namespace password {

namespace {

const QString kAppName = QStringLiteral("Zorascope");
const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("Hello");

QString Report(const QString& code, const vb::VbError& e, const QString& explanation) {
    return QStringLiteral("<<ERR") + code + QStringLiteral(">> - ZOR Registry Read Failure ") +
           NumberAndDescription(e.number(), e.description()) + explanation +
           QStringLiteral(" Please see your System Administrator or Contact your support Departement.") +
           QStringLiteral(" ZOR will now terminate.") + QStringLiteral(" Please e-mail: ") + SupportEMail() +
           QStringLiteral(" with Initialisation Error ") + code + QStringLiteral(" as the subject header.\r\n");
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
            LogError(Report(QStringLiteral("306"), e,
                            QStringLiteral("Unable to read the Screensaver OR Application Registry Key. "
                                           "You may not have sufficient access rights ! "
                                           "OR ZOR cannot find the Control Panel\\desktop Key in the Registry ! ")),
                     true);
            // The log could not be written: the program ends all the same.
            platform::ShowCursor(true);
            vb::EndProgram();
        });
}

void SavePassword() {
    vb::OnError([] { platform::registry::SaveSetting(kAppName, kSection, kKey, gPassword); },
                [](const vb::VbError& e) {
                    LogError(Report(QStringLiteral("307"), e,
                                    QStringLiteral("Unable to write to the Registry. "
                                                   "You may not have sufficient access rights ! ")),
                             false);
                    // The user who just typed a password must not believe it was kept.
                    platform::MsgBox(QStringLiteral("The password was not saved.\n\n") + e.description(),
                                     PasswordDialog::kCaption);
                    platform::ShowCursor(true);
                    vb::EndProgram(vb::kCouldNotShow);
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

}  // namespace password
