// What ends an entry on the show window: the player's end of stream and
// clicks, and the still timer. The handlers only raise flags; the player's
// own failures are logged, and a size it takes late places it again.

#include <QTimer>

#include "config/Instances.h"
#include "config/LogError.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/VbInput.h"
#include "show/FormInstances.h"
#include "show/ShowRules.h"
#include "show/frmCover.h"
#include "state/RunState.h"

using namespace state;
using namespace config;

namespace show {

void frmCover::Med_Saver_EndOfStream(qint32) {
    IgnoreNextPlayerMove = true;
    // While repeat is held the player starts the clip again by itself.
    if (!gHoldRepeat) FinishEntry();
}

// A failure of the player itself goes to the log; the show goes on.
void frmCover::Med_Saver_Error() {
    LogError(QStringLiteral("Media player error: ") + Med_Saver->ErrorDescription(), false);
}

// The clip at its own size is the entry playing: it is placed again at the
// size it gave late.
void frmCover::Med_Saver_OwnSizeChanged() { KeepOwnSize(*Med_Saver, gMovies().Item(gCurrentIndex)); }

void frmCover::Med_Saver_Click(int Button, int, float, float) {
    platform::ShowCursor(true);
    if (!RunningShow() || gNoRemote) return;
    if (Button != platform::kRightButton) {
        FinishEntry();
        return;
    }
    platform::DoEvents();
    QWidget* control = TheControl();
    if (!control) return;
    if (control->isVisible()) {
        control->hide();
    } else {
        platform::ShowActive(*control);
    }
}

void frmCover::StillTimerc_Timer() {
    FinishEntry();
    StillTimerc->stop();
}

}  // namespace show
