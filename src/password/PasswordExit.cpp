#include "password/PasswordExit.h"

#include "state/RunState.h"

bool PasswordExit() {
    if (!gUsePassword) return false;
    // A password in force is asked for by the check dialog, which comes with
    // the password store; until then the show goes on.
    return true;
}
