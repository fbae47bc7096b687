// The remote control window itself: its controls and their two layouts, the
// load step, activation, dragging, the keyboard and hiding.
//
// The window converts its twips at the ratio of the layout the desktop font
// picks (15 twips to the skin's pixel for the small layout, 12 for the large;
// see ZoneTable.h), not at the screen's DPI: the skin is a bitmap, and the
// window's size, its shape, its zones and its lights must all land on it.

#include "remote/FrmControl.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "graphics/cDIBSection.h"
#include "platform/gdi/Picture.h"
#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"
#include "platform/ui/WindowMove.h"
#include "platform/vb/VbError.h"
#include "remote/ImageList1.h"
#include "remote/ScreenFontSize.h"
#include "remote/ZoneTable.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "state/RunState.h"

using namespace graphics;
using namespace state;
using namespace show;

namespace remote {

namespace {

using Zone = platform::LabelControl* FrmControl::*;

// The members the zone table places, in its order.
const Zone kZoneMembers[] = {
    &FrmControl::Lbl_025,
    &FrmControl::Lbl_50,
    &FrmControl::Lbl_20,
    &FrmControl::Lbl_AniRC,
    &FrmControl::Lbl_Rew5,
    &FrmControl::lbl_Rew1XLabel1,
    &FrmControl::Lbl_5X,
    &FrmControl::Lbl_1X,
    &FrmControl::Lbl_ShowSlider,
    &FrmControl::Lbl_Tim,
    &FrmControl::Lbl_Play,
    &FrmControl::Lbl_Pause,
    &FrmControl::Lbl_AudioMin,
    &FrmControl::Lbl_AudMax,
    &FrmControl::Label1,
    &FrmControl::Lbl_PrevMov,
    &FrmControl::Lbl_NextMov,
    &FrmControl::Label6,
    &FrmControl::Label10,
    &FrmControl::Lbl_Mag,
    &FrmControl::Lbl_MagMin,
    &FrmControl::Lbl_Mute,
};
static_assert(std::size(kZoneMembers) == std::size(remote::kZoneDesigns));

using remote::kLargeWindow;
using remote::kSmallWindow;

QFont Arial(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"), 1, bold ? QFont::Bold : QFont::Normal);
    font.setPointSizeF(points);
    return font;
}

void Run(const std::function<void()>& step) { vb::ResumeNext(step); }

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// A tenth of the screen above its bottom edge.
int BottomPlace(int height) { return ScreenArea().bottom() - height - ScreenArea().height() / 10; }

}  // namespace

Med_Saver& ShowPlayer() {
    if (!CoverLoaded()) vb::Raise(vb::ErrNum::ObjectVariableNotSet);
    return *TheCover().Med_Saver;
}

void OnPlayer(const std::function<void(Med_Saver&)>& statement) {
    vb::ResumeNext([&] { statement(ShowPlayer()); });
}

bool ShowWindowVisible() { return CoverLoaded() && TheCover().isVisible(); }

FrmControl::FrmControl()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      largeLayout_(ScreenFontSize() == QLatin1String("LARGE")) {
    using remote::kLargeTwipsPerSkinPixel, remote::kTwipsPerSkinPixel;
    platform::SetWindowTwipsPerPixel(*this, largeLayout_ ? kLargeTwipsPerSkinPixel : kTwipsPerSkinPixel);
    setWindowTitle(QStringLiteral("ZOR RC"));
    setFont(Arial(8.25, false));
    setMouseTracking(true);
    MakeControls();
    Form_Load();
}

FrmControl::~FrmControl() = default;

void FrmControl::MakeControls() {
    picBackground = new platform::PictureBox(this);
    platform::SetGeometry(*picBackground, {5640, 960, 2328, 2172});
    for (size_t i = 0; i < std::size(kZoneMembers); ++i) {
        const remote::ZoneDesign& z = remote::kZoneDesigns[i];
        auto* label = new platform::LabelControl(this);
        this->*kZoneMembers[i] = label;
        label->setToolTip(QString::fromUtf8(z.tooltip));
        platform::SetGeometry(*label, z.design);
    }
    Lbl_Tim->setFont(Arial(8.25, true));
    Lbl_Tim->LetForeColor(QColor(255, 255, 0));
    Lbl_Tim->LetAutoSize(true);
    Label10->setFont(Arial(13.5, true));
    Label10->LetForeColor(Qt::red);
    Lbl_Mute->setFont(Arial(12, true));
    Lbl_Mute->LetForeColor(Qt::red);
    for (int i = 1; i <= kLights; ++i) {
        Lbl_DummyVol[i] = new platform::LabelControl(this);
        Lbl_DummyVol[i]->setToolTip(QStringLiteral("Volume"));
        Lbl_DummyVol[i]->Click = [this, i] { Lbl_DummyVol_Click(i); };
        Lbl_DummyVol[i]->MouseMove = [this, i](int, int, float, float) { Lbl_DummyVol_MouseMove(i); };
        PicVolLights[i] = new platform::PictureBox(this);  // made later: above the labels
        PicVolLights[i]->Click = [this, i] { PicVolLights_Click(i); };
        PicVolLights[i]->MouseMove = [this, i](int, int, float, float) { PicVolLights_MouseMove(i); };
    }

    const std::pair<platform::LabelControl*, void (FrmControl::*)()> clicks[] = {
        {Lbl_025, &FrmControl::Lbl_025_Click},         {Lbl_50, &FrmControl::Lbl_50_Click},
        {Lbl_20, &FrmControl::Lbl_20_Click},           {Lbl_Rew5, &FrmControl::Rew5},
        {lbl_Rew1XLabel1, &FrmControl::Rew1},          {Lbl_5X, &FrmControl::Adv5},
        {Lbl_1X, &FrmControl::Adv1},                   {Lbl_ShowSlider, &FrmControl::Lbl_ShowSlider_Click},
        {Lbl_Play, &FrmControl::Lbl_Play_Click},       {Lbl_Pause, &FrmControl::Lbl_Pause_Click},
        {Lbl_AudioMin, &FrmControl::Lbl_AudioMin_Click}, {Lbl_AudMax, &FrmControl::Lbl_AudMax_Click},
        {Label1, &FrmControl::Label1_Click},           {Lbl_PrevMov, &FrmControl::Lbl_PrevMov_Click},
        {Lbl_NextMov, &FrmControl::Lbl_NextMov_Click}, {Label6, &FrmControl::Label6_Click},
        {Label10, &FrmControl::Label10_Click},         {Lbl_Mag, &FrmControl::Lbl_Mag_Click},
        {Lbl_MagMin, &FrmControl::Lbl_MagMin_Click},   {Lbl_Mute, &FrmControl::Lbl_Mute_Click},
    };
    for (const auto& [label, handler] : clicks) label->Click = [this, handler] { (this->*handler)(); };
    Lbl_AudioMin->MouseDown = [this](int, int, float, float) { Lbl_AudioMin_MouseDown(); };
    Lbl_AudMax->MouseDown = [this](int, int, float, float) { Lbl_AudMax_MouseDown(); };
    Lbl_AudioMin->MouseUp = Lbl_AudMax->MouseUp = [this](int, int, float, float) { VolumeButton_MouseUp(); };

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Run([this] { Timer1_Timer(); }); });
    Timer2 = new QTimer(this);
    Timer2->setInterval(200);
    connect(Timer2, &QTimer::timeout, this, [this] { Run([this] { Timer2_Timer(); }); });
}

void FrmControl::Form_Load() {
    platform::gdi::StdPicture skin;
    Run([&] { skin = platform::gdi::StdPicture(ImageList1(11).toImage()); });
    Run([&] { picBackground->LetPicture(ImageList1(11)); });
    cDIBSection dib;
    Run([&] { dib.CreateFromPicture(skin); });
    Run([&] {
        SkinRegion.Create(dib, 0);
        SkinRegion.SetApplied(winId(), true);
    });
    Run([&] { skin_ = ImageList1(11); });
    Run([&] { OpenMixer(); });
    Run([&] {
        if (largeLayout_) {
            ApplyLargeLayout();
        } else {
            platform::SetGeometry(*this, kSmallWindow);
            // Where it first appears: centred near the bottom of the screen.
            move(ScreenArea().center().x() - width() / 2, BottomPlace(height()));
        }
    });
    Run([&] { BuildLights(); });
    Timer1->start();
}

void FrmControl::ApplyLargeLayout() {
    platform::SetGeometry(*this, kLargeWindow);
    move(0, BottomPlace(height()));  // the large layout moves to the left edge of the screen
    for (size_t i = 0; i < std::size(kZoneMembers); ++i)
        platform::SetGeometry(*(this->*kZoneMembers[i]), remote::LargePlace(remote::kZoneDesigns[i]));
    const platform::TwipsRect slider = platform::Geometry(*Lbl_ShowSlider);
    platform::TwipsRect time = platform::Geometry(*Lbl_Tim);
    time.Left = slider.Left;
    time.Top = slider.Top + slider.Height;
    platform::SetGeometry(*Lbl_Tim, time);
}

void FrmControl::Form_Activate() {
    if (!Timer2->isActive()) Timer2->start();
    VolDownHeld = false;
    VolUpHeld = false;
    Label10->LetCaption(gHoldRepeat ? QStringLiteral("On") : QString());
}

void FrmControl::Form_MouseDown(int Button, int, float, float) {
    if (Button == platform::kLeftButton) platform::StartWindowMove(*this);
}

void FrmControl::Form_MouseMove(int, int, float, float) { Timer2->stop(); }

void FrmControl::Form_KeyUp(int KeyCode, int) {
    if (KeyCode == platform::kKeyUp) Lbl_PrevMov_Click();
    if (KeyCode == platform::kKeyDown) Lbl_NextMov_Click();
}

void FrmControl::Label6_Click() {
    Timer2->stop();
    hide();
}

void FrmControl::Timer2_Timer() {
    if (VolDownHeld) {
        Lbl_AudioMin_Click();
    } else if (VolUpHeld) {
        Lbl_AudMax_Click();
    }
}

bool FrmControl::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Run([this] { Form_Activate(); });
    return QWidget::event(event);
}

void FrmControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_);
}

void FrmControl::mousePressEvent(QMouseEvent* event) {
    const platform::TwipsPoint p = platform::PointInTwips(*this, *event);
    Run([&] { Form_MouseDown(platform::VbButton(event->button()), platform::VbShift(event->modifiers()), p.X, p.Y); });
}

void FrmControl::mouseMoveEvent(QMouseEvent* event) {
    const platform::TwipsPoint p = platform::PointInTwips(*this, *event);
    Run([&] { Form_MouseMove(platform::VbButtons(event->buttons()), platform::VbShift(event->modifiers()), p.X, p.Y); });
}

void FrmControl::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;  // a held arrow acts once, on its release
    Run([&] { Form_KeyUp(platform::VbKeyCode(*event), platform::VbShift(event->modifiers())); });
}

}  // namespace remote
