#include "password/PasswordExit.h"

#include "password/frmpwd.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ModalShow.h"
#include "state/RunState.h"

using namespace state;

namespace password {

bool PasswordExit() {
    if (!gUsePassword) return false;
    platform::ShowModal(Thefrmpwd());
    return true;
}

bool QuitRefused() {
    if (!RunningShow() || !PasswordExit()) return false;
    platform::ShowCursor(false);
    return true;
}

}  // namespace password
