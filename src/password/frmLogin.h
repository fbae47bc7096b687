#pragma once
// The set-password dialog of "/A": the new password typed twice.

#include "password/PasswordDialog.h"

namespace password {

class frmLogin : public PasswordDialog {
public:
    frmLogin();
    QLineEdit* txtoripwd;
    QLineEdit* txtnewPwd;
    // Whether it was closed with OK.
    bool OK = false;

    void Form_Activate() override;
    void cmdOK_Click() override;
    void cmdCancel_Click() override;
};

}  // namespace password
