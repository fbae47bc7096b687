#include "password/frmLogin.h"

#include "password/PasswordStore.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/vb/VbString.h"
#include "state/RunState.h"

using namespace state;

namespace password {

frmLogin::frmLogin()
    : PasswordDialog({QStringLiteral("Password:"), QStringLiteral("Confirm Password:")}),
      txtoripwd(fields_[0]),
      txtnewPwd(fields_[1]) {}

void frmLogin::Form_Activate() { platform::ShowCursor(true); }

void frmLogin::cmdOK_Click() {
    if (vb::Trim(txtoripwd->text()) == vb::Trim(txtnewPwd->text())) {
        gPassword = vb::Trim(txtoripwd->text());
        SavePassword();
        OK = true;
        hide();
    } else {
        platform::MsgBox(QStringLiteral("Sorry the passwords do not match, try again!"), kCaption);
        SelectAgain(*txtoripwd);
    }
}

void frmLogin::cmdCancel_Click() {
    OK = false;
    platform::ShowCursor(true);
    hide();
}

}  // namespace password
