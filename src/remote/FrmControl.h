#pragma once
// The remote control window "ZOR RC": a borderless window cut to the shape
// of its skin, whose buttons are transparent hot zones over the picture.
// Its commands act on the show window's player and on the shared flags;
// moving between entries is left to the show loop. Positions are twips at
// the skin's ratio for the layout in use (15 or 12 to the skin's pixel).
// The show window shows and hides it; it is never unloaded by its own code.

#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>

#include "graphics/cDIBSectionRegion.h"
#include "platform/mixer/Mixer.h"
#include "platform/ui/LabelControl.h"
#include "platform/ui/PictureBox.h"

namespace show {
class Med_Saver;
}  // namespace show
class QTimer;

namespace remote {

class FrmControl : public QWidget {
    // The class is defined over five files; its declarations are grouped
    // under the file that holds them.
public:
    static constexpr int kLights = 10;

    // ---- FrmControl.cpp: the window, its controls and its own events ----

    FrmControl();  // the load step runs here
    ~FrmControl() override;

    // The controls, by their design names; lights and volume labels are 1-based.
    platform::PictureBox* picBackground;
    platform::LabelControl *Lbl_025, *Lbl_50, *Lbl_20, *Lbl_AniRC, *Lbl_Rew5, *lbl_Rew1XLabel1, *Lbl_5X, *Lbl_1X;
    platform::LabelControl *Lbl_ShowSlider, *Lbl_Tim, *Lbl_Play, *Lbl_Pause, *Lbl_AudioMin, *Lbl_AudMax, *Label1;
    platform::LabelControl *Lbl_PrevMov, *Lbl_NextMov, *Label6, *Label10, *Lbl_Mag, *Lbl_MagMin, *Lbl_Mute;
    std::array<platform::PictureBox*, kLights + 1> PicVolLights{};
    std::array<platform::LabelControl*, kLights + 1> Lbl_DummyVol{};
    QTimer* Timer1;  // 1000 ms: the position display
    QTimer* Timer2;  // 200 ms: a held volume button repeats

    // The window's events (its controls raise them; tests call them).
    void Form_Load();
    void Form_Activate();
    void Form_MouseDown(int Button, int Shift, float X, float Y);
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Form_KeyUp(int KeyCode, int Shift);
    void Label6_Click();
    void Timer2_Timer();

    // ---- Transport.cpp: play, pause, speed, winding and the next entry ----

    // Operations the window's zones call.
    void Adv1();
    void Adv5();
    void Rew1();
    void Rew5();

    void Lbl_Play_Click();
    void Lbl_Pause_Click();
    void Lbl_025_Click();
    void Lbl_50_Click();
    void Lbl_20_Click();
    void Lbl_NextMov_Click();
    void Lbl_PrevMov_Click();
    void Label10_Click();
    void Label1_Click();

    // ---- Zoom.cpp ----

    void Lbl_Mag_Click();
    void Lbl_MagMin_Click();

    // ---- Volume.cpp: volume and mute ----

    // Operations the window's zones call.
    void BuildLights();
    void UpdateVolDisp();

    void Lbl_AudioMin_Click();
    void Lbl_AudMax_Click();
    void Lbl_AudioMin_MouseDown();
    void Lbl_AudMax_MouseDown();
    void VolumeButton_MouseUp();
    void PicVolLights_Click(int Index);
    void PicVolLights_MouseMove(int Index);
    void Lbl_DummyVol_Click(int Index);
    void Lbl_DummyVol_MouseMove(int Index);
    void Lbl_Mute_Click();

    // Volume state: the control's range, the step and the volume last set.
    bool VolCtrlFound = false;
    bool VolDownHeld = false;
    bool VolUpHeld = false;
    qint32 CurVol = 0;
    qint32 VolStep = 0;
    qint32 VolMax = 0;
    qint32 VolMin = 0;
    platform::mixer::HMIXER hMixer = 0;  // 0: the mixer could not be opened
    platform::mixer::MIXERCONTROL VolCtrl;

    // ---- PositionDisplay.cpp ----

    void Lbl_ShowSlider_Click();
    void Timer1_Timer();

protected:
    // ---- FrmControl.cpp: Qt's events, handed to the handlers above ----

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // ---- FrmControl.cpp ----

    void MakeControls();
    void ApplyLargeLayout();

    // The desktop font asked for the large layout; fixed when the window is made.
    const bool largeLayout_;
    graphics::cDIBSectionRegion SkinRegion;
    QPixmap skin_;  // the window's own picture

    // ---- Transport.cpp ----

    void Advance(double seconds);
    void Rewind(double seconds);
    void ChangeSpeed(double rate, bool onlyWhenVisible);

    // ---- Volume.cpp ----

    void OpenMixer();
    void SetVolume(qint32 volume);
    void ShowVolumeLevel();  // CurVol on the lights; the mixer is not touched
};

// ---- FrmControl.cpp: the show window as the remote control reaches it ----

// The show window's player; run-time error 91 while there is no show window.
show::Med_Saver& ShowPlayer();
// One statement on the player, its run-time error (no show window among
// them) skipped as under continue-on-error.
void OnPlayer(const std::function<void(show::Med_Saver&)>& statement);
// The show window is loaded and shown.
bool ShowWindowVisible();

}  // namespace remote
