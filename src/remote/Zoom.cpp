// Zoom Up and Zoom Down: the player's height doubled or halved, the control
// kept in the middle of the screen. Each statement's error is skipped.

#include "platform/ui/Twips.h"
#include "remote/FrmControl.h"
#include "show/Med_Saver.h"

using namespace show;

namespace remote {

namespace {

void Zoom(float factor) {
    OnPlayer([factor](Med_Saver& p) { p.LetHeight(p.Height() * factor); });
    OnPlayer([](Med_Saver& p) { p.LetLeft(platform::ScreenWidth() / 2 - p.Width() / 2); });
    OnPlayer([](Med_Saver& p) { p.LetTop(platform::ScreenHeight() / 2 - p.Height() / 2); });
}

}  // namespace

void FrmControl::Lbl_Mag_Click() { Zoom(2.0f); }
void FrmControl::Lbl_MagMin_Click() { Zoom(0.5f); }

}  // namespace remote
