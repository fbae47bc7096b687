// The master volume: the mixer opened at load, the bar of ten lights, the
// volume buttons (repeating while held) and the lights as a slider. While
// no volume control was found (VolStep 0) the commands change nothing.

#include <QTimer>
#include <cmath>

#include "config/Instances.h"
#include "config/LogError.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/vb/VbError.h"
#include "remote/AudioCode.h"
#include "remote/FrmControl.h"
#include "remote/ImageList1.h"
#include "show/Med_Saver.h"

using namespace config;
using namespace show;

namespace remote {

using namespace platform::mixer;

namespace {

constexpr float kLightHeight = 100;
constexpr float kLightOverlap = 2;
constexpr float kOutOfWindow = 10000;

// To the nearest integer, halves to the even one.
qint32 RoundEven(double value) { return qint32(std::nearbyint(value)); }

void StartTimer(QTimer& timer) {
    if (!timer.isActive()) timer.start();  // enabling an enabled timer keeps its rhythm
}

}  // namespace

void FrmControl::OpenMixer() {
    if (mixerOpen(&hMixer, 0) != MMSYSERR_NOERROR) {
        LogError(QStringLiteral("Mixer error: ") + mixerLastError(), false);
        // Not waited for: the window is made from inside the show's loop,
        // which must go on running its entries behind the box.
        platform::MsgBoxNoWait(
            QStringLiteral("Could not open the mixer Device on the soundcard. ZOR is unable to adjust the volume."),
            platform::ExecutableName());
    }
    VolCtrlFound = GetVolumeControl(hMixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_VOLUME, VolCtrl);
    if (VolCtrlFound) {
        VolMax = VolCtrl.lMaximum;
        VolMin = VolCtrl.lMinimum;
        // The volume the system has now, so that the first step goes from
        // there (not from the top); the mixer itself is not set here.
        if (!GetVolumeLevel(hMixer, VolCtrl, CurVol)) {
            LogError(QStringLiteral("Mixer error: ") + mixerLastError(), false);
            CurVol = VolMax;
        }
        VolStep = RoundEven(VolMax / 10.0);
    }
}

void FrmControl::BuildLights() {
    const platform::TwipsRect down = platform::Geometry(*Lbl_AudioMin), up = platform::Geometry(*Lbl_AudMax);
    platform::TwipsRect light{down.Left, down.Top + down.Height, (up.Left - down.Left + up.Width) / 10, kLightHeight};
    for (int i = 1; i <= kLights; ++i) {
        if (i > 1) light.Left += light.Width - kLightOverlap;
        vb::ResumeNext([&] {
            platform::SetGeometry(*PicVolLights[i], light);
            platform::SetGeometry(*Lbl_DummyVol[i], light);
            Lbl_DummyVol[i]->LetEnabled(false);
            PicVolLights[i]->LetPicture(ImageList1(i));
        });
    }
    for (int i = 1; i <= kLights; ++i) PicVolLights[i]->show();
    // A user reads the lights as the volume, so from the start they show the
    // level read at load rather than all ten.
    ShowVolumeLevel();
}

void FrmControl::ShowVolumeLevel() {
    if (VolStep == 0) return;
    const int level = RoundEven(double(CurVol) / VolStep);
    for (int i = 1; i <= kLights; ++i) {
        const bool lit = i <= level;
        PicVolLights[i]->setVisible(lit);
        Lbl_DummyVol[i]->LetEnabled(!lit);
        platform::TwipsRect place = platform::Geometry(*Lbl_DummyVol[i]);
        place.Left = lit ? kOutOfWindow : platform::Geometry(*PicVolLights[i]).Left;
        platform::SetGeometry(*Lbl_DummyVol[i], place);
    }
}

void FrmControl::UpdateVolDisp() {
    if (VolStep == 0) return;
    ShowVolumeLevel();
    if (CurVol <= VolMin) CurVol = VolMin;
    if (CurVol > VolMax) CurVol = VolMax;
    SetVolumeControl(hMixer, VolCtrl, CurVol);
}

void FrmControl::Lbl_AudioMin_Click() {
    if (VolStep == 0) return;
    CurVol -= VolStep;
    if (CurVol <= VolMin) CurVol = VolMin;
    SetVolumeControl(hMixer, VolCtrl, CurVol);
    UpdateVolDisp();
}

void FrmControl::Lbl_AudMax_Click() {
    if (VolStep == 0) return;
    CurVol += VolStep;
    if (CurVol > VolMax) CurVol = VolMax;
    if (CurVol < 1) CurVol = VolMax / 2;
    UpdateVolDisp();
    SetVolumeControl(hMixer, VolCtrl, CurVol);
}

void FrmControl::Lbl_AudioMin_MouseDown() {
    VolDownHeld = true;
    VolUpHeld = false;
    StartTimer(*Timer2);
}

void FrmControl::Lbl_AudMax_MouseDown() {
    VolUpHeld = true;
    VolDownHeld = false;
    StartTimer(*Timer2);
}

// The held flags go with the button: left set, a later pointer move over a
// lit light (which restarts Timer2) would step the volume on to 0 or the top.
void FrmControl::VolumeButton_MouseUp() {
    Timer2->stop();
    VolDownHeld = false;
    VolUpHeld = false;
}

void FrmControl::SetVolume(qint32 volume) {
    if (VolStep == 0) return;
    CurVol = volume;
    UpdateVolDisp();
}

void FrmControl::PicVolLights_Click(int Index) { SetVolume(VolStep * Index); }

void FrmControl::PicVolLights_MouseMove(int Index) {
    StartTimer(*Timer2);
    SetVolume(VolStep * Index);
}

void FrmControl::Lbl_DummyVol_Click(int Index) {
    StartTimer(*Timer2);
    SetVolume(VolStep * Index);
}

void FrmControl::Lbl_DummyVol_MouseMove(int Index) { SetVolume(VolStep * Index); }

void FrmControl::Lbl_Mute_Click() {
    if (gMovies().Count() == 0 || !vb::IfResumeNext([] { return ShowPlayer().Visible(); })) return;
    if (vb::IfResumeNext([] { return ShowPlayer().Mute(); })) {
        OnPlayer([](Med_Saver& p) { p.LetMute(false); });
        Lbl_Mute->LetCaption(QString());
    } else {
        OnPlayer([](Med_Saver& p) { p.LetMute(true); });
        Lbl_Mute->LetCaption(QStringLiteral("X"));
    }
}

}  // namespace remote
