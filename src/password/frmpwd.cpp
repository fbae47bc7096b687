#include "password/frmpwd.h"

#include <QCoreApplication>
#include <memory>

#include "platform/ui/Cursor.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MessageBox.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbString.h"
#include "state/RunState.h"

using namespace state;

namespace password {

namespace {

// A dialog still loaded when the process ends is left to the end of the
// process: once the application object is gone, a widget cannot be deleted.
struct UnloadWhileTheApplicationLives {
    void operator()(frmpwd* dialog) const {
        if (QCoreApplication::instance()) delete dialog;
    }
};

std::unique_ptr<frmpwd, UnloadWhileTheApplicationLives>& Instance() {
    static std::unique_ptr<frmpwd, UnloadWhileTheApplicationLives> instance;
    return instance;
}

}  // namespace

frmpwd& Thefrmpwd() {
    if (!Instance()) Instance().reset(new frmpwd);
    return *Instance();
}

frmpwd::frmpwd() : PasswordDialog({QStringLiteral("Password:")}), txtoripwd(fields_[0]) {}

void frmpwd::Form_Activate() { platform::ShowCursor(true); }

void frmpwd::cmdOK_Click() {
    if (vb::Trim(txtoripwd->text()) == gPassword) {
        platform::ShowCursor(true);
        vb::EndProgram();
    }
    KeepShowGoing();
    platform::MsgBox(QStringLiteral("Incorrect Password !"), kCaption);
    if (gSecureMode) {
        hide();
        // Unloaded once its own handler has returned; the next attempt makes a new one.
        Instance().release()->deleteLater();
        platform::ShowCursor(false);
    } else {
        SelectAgain(*txtoripwd);
    }
}

void frmpwd::cmdCancel_Click() {
    KeepShowGoing();
    platform::DoEvents();
    hide();
}

}  // namespace password
