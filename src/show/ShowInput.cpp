// The input rules of the show window: which mouse and keyboard events end
// the program, which abandon the current entry, and which are ignored.

#include <cmath>

#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"
#include "show/frmCover.h"
#include "startup/RunState.h"

namespace {
constexpr int kRightButton = 2;
constexpr int kEscape = 27;
constexpr int kCountLimit = 100;  // a move count past this starts again at 3
constexpr int kCountAfterLimit = 3;

bool RunningShow() { return gRunMode == 2; }
}  // namespace

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
    gStopRequest = true;
}

void frmCover::Form_DblClick() {
    if (RunningShow()) gStopRequest = true;
}

void frmCover::Form_KeyDown(int, int) {
    platform::ShowCursor(true);
    if (RunningShow()) gStopRequest = true;
}

void frmCover::Form_KeyPress(int KeyAscii) {
    if (!RunningShow()) return;
    if (KeyAscii == kEscape) PasswordExitForKey();
    gStopRequest = true;
}

void frmCover::Form_KeyUp(int KeyCode, int) {
    if (!RunningShow()) return;
    if (KeyCode == kEscape) PasswordExitForKey();
    gStopRequest = true;
}

void frmCover::Form_MouseUp(int Button, int, float, float) {
    if (Button != kRightButton) return;
    if (!RunningShow()) {
        gStopRequest = true;
        gEntryDone = true;
    }
    // In a running show without gNoRemote the remote control window is shown
    // modally here once it exists.
}

bool frmCover::PointerMoved(qint16& moveCount, qint32& reference, int Button, float X, float Y) {
    if (++moveCount > kCountLimit) moveCount = kCountAfterLimit;
    if (moveCount == 1) return false;  // the window's first move is where the pointer already was
    if (!gExitOnMouseMove) return false;
    if (!gNoRemote && Button == kRightButton) {
        // Dragging with the right button ends the show at the loop's next wait,
        // without a password.
        gQuit = true;
        gStopRequest = true;
        gEntryDone = true;
    }
    const double distance = std::fabs(static_cast<double>(X) - Y);
    if (moveCount == 2) vb::ResumeNext([&] { reference = vb::CLng(distance); });
    // |X - Y| within 10% of the reference is taken as jitter, not movement.
    const double r = reference;
    return distance > std::fabs(r + r / 10) || distance < std::fabs(r - r / 10);
}

void frmCover::EndOnMovement() {
    if (RunningShow())
        PasswordExitWithCursor();
    else
        vb::EndProgram();
}

void frmCover::Form_MouseMove(int Button, int, float X, float Y) {
    if (!PointerMoved(WindowMoveCount, WindowReference, Button, X, Y)) return;
    vb::ResumeNext([&] { Med_Saver->Pause(); });
    EndOnMovement();
}

void frmCover::Img_Stillc_MouseMove(int Button, int, float X, float Y) {
    if (!PointerMoved(StillMoveCount, StillReference, Button, X, Y)) return;
    EndOnMovement();
}

// The player reports only real moves, so it has no distance test; the move
// that follows an end of stream is the player's own and is ignored.
void frmCover::Med_Saver_MouseMove(int, int, float, float) {
    if (++PlayerMoveCount > kCountLimit) PlayerMoveCount = kCountAfterLimit;
    if (PlayerMoveCount == 1) return;
    if (!gExitOnMouseMove) return;
    if (IgnoreNextPlayerMove) {
        IgnoreNextPlayerMove = false;
        PlayerMoveCount = 0;
        return;
    }
    PasswordExitWithCursor();
}

void frmCover::Med_Saver_KeyPress(int KeyAscii) {
    platform::ShowCursor(true);
    if (RunningShow() && KeyAscii == kEscape) PasswordExitForKey();
}
