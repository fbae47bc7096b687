#pragma once
// The check dialog: asks for the password when user input would end a show.

#include "password/PasswordDialog.h"

namespace password {

class frmpwd : public PasswordDialog {
public:
    frmpwd();
    QLineEdit* txtoripwd;

    void Form_Activate() override;
    // The right password ends the program; a wrong one keeps the show going.
    void cmdOK_Click() override;
    void cmdCancel_Click() override;
};

// The dialog, made on first use; after a wrong password in the secure mode
// it is unloaded and made anew at the next use.
frmpwd& Thefrmpwd();

}  // namespace password
