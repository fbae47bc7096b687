// What ends an entry on the show window: the player's end of stream and
// clicks, and the still timer. The handlers only raise flags.

#include <QTimer>

#include "platform/ui/Cursor.h"
#include "show/frmCover.h"
#include "startup/RunState.h"

namespace {
constexpr int kRightButton = 2;
}

void frmCover::Med_Saver_EndOfStream(qint32) {
    IgnoreNextPlayerMove = true;
    // While repeat is held the player starts the clip again by itself.
    if (!gHoldRepeat) gEntryDone = true;
}

void frmCover::Med_Saver_Click(int Button, int, float, float) {
    platform::ShowCursor(true);
    if (gRunMode != 2 || gNoRemote) return;
    if (Button != kRightButton) gEntryDone = true;
    // The right button shows or hides the remote control window here once it
    // exists.
}

void frmCover::StillTimerc_Timer() {
    gEntryDone = true;
    StillTimerc->stop();
}
