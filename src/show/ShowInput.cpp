// The input rules of the show window: which mouse and keyboard events end
// the program, which abandon the current entry, and which are ignored.

#include "password/PasswordExit.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/VbInput.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "state/RunState.h"

using namespace state;
using namespace password;

namespace show {

using platform::kKeyEscape;
using platform::kRightButton;

void frmCover::PasswordExitForKey() {
    if (!PasswordExit()) vb::EndProgram();
}

void frmCover::PasswordExitWithCursor() {
    if (PasswordExit()) {
        platform::ShowCursor(false);  // the show goes on
        return;
    }
    platform::ShowCursor(true);
    vb::EndProgram();
}

void frmCover::Form_Click() {
    platform::ShowCursor(true);
    StopEntry();
}

void frmCover::Form_DblClick() {
    if (RunningShow()) StopEntry();
}

void frmCover::Form_KeyDown(int, int) {
    platform::ShowCursor(true);
    if (RunningShow()) StopEntry();
}

void frmCover::Form_KeyPress(int KeyAscii) {
    if (!RunningShow()) return;
    if (KeyAscii == kKeyEscape) PasswordExitForKey();
    StopEntry();
}

void frmCover::Form_KeyUp(int KeyCode, int) {
    if (!RunningShow()) return;
    if (KeyCode == kKeyEscape) PasswordExitForKey();
    StopEntry();
}

void frmCover::Form_MouseUp(int Button, int, float, float) {
    if (Button != kRightButton) return;
    if (!RunningShow()) {
        SkipToNextEntry();
    } else if (!gNoRemote) {
        if (QWidget* control = TheControl()) platform::ShowModal(*control);
    }
}

bool frmCover::PointerMoved(MovementTest& moves, int Button, float X, float Y) {
    if (!moves.CountMove()) return false;
    if (!gExitOnMouseMove) return false;
    if (!gNoRemote && Button == kRightButton) {
        // Dragging with the right button ends the show at the loop's next
        // wait; a guarded show asks for its password first.
        if (QuitRefused()) return false;
        StopShow();
    }
    return moves.Moved(X, Y);
}

void frmCover::EndOnMovement() {
    if (RunningShow())
        PasswordExitWithCursor();
    else
        vb::EndProgram();
}

void frmCover::Form_MouseMove(int Button, int, float X, float Y) {
    if (!PointerMoved(WindowMoves, Button, X, Y)) return;
    vb::ResumeNext([&] { Med_Saver->Pause(); });
    EndOnMovement();
}

void frmCover::Img_Stillc_MouseMove(int Button, int, float X, float Y) {
    if (!PointerMoved(StillMoves, Button, X, Y)) return;
    EndOnMovement();
}

// The player reports only real moves, so it has no distance test; the move
// that follows an end of stream is the player's own and is ignored.
void frmCover::Med_Saver_MouseMove(int, int, float, float) {
    if (!PlayerMoves.CountMove()) return;
    if (!gExitOnMouseMove) return;
    if (IgnoreNextPlayerMove) {
        IgnoreNextPlayerMove = false;
        PlayerMoves.Restart();
        return;
    }
    PasswordExitWithCursor();
}

void frmCover::Med_Saver_KeyPress(int KeyAscii) {
    platform::ShowCursor(true);
    if (RunningShow() && KeyAscii == kKeyEscape) PasswordExitForKey();
}

}  // namespace show
