#pragma once
// The screensaver password: where it is kept, whether one is in force, and
// the reports when the store cannot be read or written.

#include <QString>

namespace password {

// The password the check accepts when none was ever set.
inline const QString kDefaultPassword = QStringLiteral("marigolds");

// gPassword from the stored password, or "" when the desktop's switch
// "ScreenSaveUsePassword" is exactly "0". An error ends the program after
// the <<ERR306>> report.
void ReadPassword();
// Stores gPassword as it is. When it cannot, the <<ERR307>> report goes to
// the log, a message box tells the user why, and the program ends with
// vb::kCouldNotShow: the password the user typed was not kept.
void SavePassword();
// Before a show or a preview: a password is in force (gUsePassword) only on
// a platform where the screensaver guards the desktop itself.
void DecidePasswordInForce();

}  // namespace password
