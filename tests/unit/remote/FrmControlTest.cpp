#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>

#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"
#include "remote/FrmControl.h"
#include "unit/show/ShowFixture.h"

using namespace state;
using namespace config;
using namespace show;
using namespace remote;

namespace {

class RemoteTest : public testsupport::ShowTest {
protected:
    RemoteTest() {
        gRunMode = kRunModeShow;
        TheCover().show();
    }
    ~RemoteTest() override { SetControlMaker({}); }

    FrmControl& Remote() {
        if (!remote_) {
            remote_ = std::make_unique<FrmControl>();
            remote_->hMixer = 0;  // the volume commands must never reach the machine's own sound card
        }
        return *remote_;
    }
    static QString Flags() {
        return QStringLiteral("%1%2%3 nav %4")
            .arg(gEntryDone ? 'E' : '-').arg(gStopRequest ? 'S' : '-').arg(gQuit ? 'Q' : '-').arg(gNavPos);
    }

    std::unique_ptr<FrmControl> remote_;
};

TEST_F(RemoteTest, TransportActsOnThePlayerAndTheFlags) {
    // calls: the player's, then its speed.
    const struct { const char* what; int entries; double position, duration; bool playerHidden; qint16 navPos;
                   void (FrmControl::*command)(); QString calls, flags; } cases[] = {
        {"play, no entries", 0, 0, 1, false, 0, &FrmControl::Lbl_Play_Click, " x0", "--- nav 0"},
        {"play", 1, 0, 1, false, 0, &FrmControl::Lbl_Play_Click, "Play x1", "--- nav 0"},
        {"pause", 1, 0, 1, false, 0, &FrmControl::Lbl_Pause_Click, "Pause x0", "--- nav 0"},
        {"advance 1 to the end", 1, 3, 4, false, 0, &FrmControl::Adv1, "Pause x0", "--- nav 0"},
        {"advance 1", 1, 1, 4.2, false, 0, &FrmControl::Adv1, "Pause,Seek 2 x0", "--- nav 0"},
        {"rewind 1 at 1.0", 1, 1, 4, false, 0, &FrmControl::Rew1, " x0", "--- nav 0"},
        {"rewind 5", 1, 7, 9, false, 0, &FrmControl::Rew5, "Pause,Seek 2 x0", "--- nav 0"},
        {"half speed, player hidden", 1, 0, 1, true, 0, &FrmControl::Lbl_50_Click, " x0", "--- nav 0"},
        {"quarter speed, player hidden", 1, 0, 1, true, 0, &FrmControl::Lbl_025_Click, "Pause,Play x0.25", "--- nav 0"},
        {"next on the last entry", 2, 0, 1, false, 2, &FrmControl::Lbl_NextMov_Click, " x0", "--- nav 2"},
        {"next", 2, 0, 1, false, 0, &FrmControl::Lbl_NextMov_Click, "Pause x0", "ES- nav 0"},
        {"previous at 0", 2, 0, 1, false, 0, &FrmControl::Lbl_PrevMov_Click, " x0", "--- nav 0"},
        {"previous at 1", 2, 0, 1, false, 1, &FrmControl::Lbl_PrevMov_Click, "Pause x0", "ES- nav -1"},
    };
    for (const auto& c : cases) {
        Fresh();
        gRunMode = kRunModeShow;
        for (int i = 0; i < c.entries; ++i) AddEntry(QStringLiteral("clip%1.mkv").arg(i));
        TheCover().show();
        player_->position = c.position, player_->duration = c.duration, player_->speed = 0;
        player_->calls.clear();
        TheCover().Med_Saver->LetVisible(!c.playerHidden);
        gNavPos = c.navPos;
        (Remote().*c.command)();
        EXPECT_EQ(player_->calls.join(u',') + QStringLiteral(" x%1").arg(player_->speed), c.calls) << c.what;
        EXPECT_EQ(Flags(), c.flags) << c.what;
    }
    TheCover().Med_Saver->LetAutoRewind(false);
    Remote().Lbl_Play_Click();
    EXPECT_TRUE(TheCover().Med_Saver->AutoRewind());  // played from the remote, it halts at its start again
}

TEST_F(RemoteTest, RepeatHoldsTheClipUntilSwitchedOffOrQuit) {
    AddEntry(QStringLiteral("a.mkv")), AddEntry(QStringLiteral("b.mkv"));
    gCurrentIndex = 2;
    Remote().Label10_Click();
    EXPECT_EQ(Remote().Label10->Caption(), QStringLiteral("On"));
    EXPECT_EQ(player_->plays, 10000);
    EXPECT_TRUE(player_->calls.contains(QStringLiteral("Play")));
    EXPECT_TRUE(gHoldRepeat && gMovies().Item(2).RemoteRepeat());

    Remote().Label10_Click();
    EXPECT_EQ(Remote().Label10->Caption(), QString());
    EXPECT_EQ(player_->plays, 1);
    EXPECT_FALSE(gHoldRepeat || gMovies().Item(2).RemoteRepeat());

    gMovies().Item(2).LetLoopForever(true);
    Remote().Label10_Click();
    Remote().show();
    Remote().Label1_Click();  // quit
    EXPECT_FALSE(gHoldRepeat || gMovies().Item(2).LoopForever());
    EXPECT_EQ(player_->plays, 1);
    EXPECT_EQ(Flags(), QStringLiteral("ESQ nav 0"));
    EXPECT_EQ(gPlayPos, 2);
    EXPECT_TRUE(Remote().isHidden());
    gHoldRepeat = true;
    Remote().Form_Activate();
    EXPECT_EQ(Remote().Label10->Caption(), QStringLiteral("On"));
}

TEST_F(RemoteTest, VolumeStepsClampAndShowOnTheLights) {
    const struct { const char* what; qint32 min, max, step, start; std::function<void(FrmControl&)> act;
                   qint32 volume; int lit; } cases[] = {
        {"up at the top", 0, 65535, 6554, 65535, [](FrmControl& r) { r.Lbl_AudMax_Click(); }, 65535, 10},
        {"down at the bottom", 0, 65535, 6554, 0, [](FrmControl& r) { r.Lbl_AudioMin_Click(); }, 0, 0},
        {"down one step", 0, 65535, 6554, 65535, [](FrmControl& r) { r.Lbl_AudioMin_Click(); }, 58981, 9},
        {"light 10, clamped after", 0, 65535, 6554, 0, [](FrmControl& r) { r.PicVolLights_Click(10); }, 65535, 10},
        {"light 1", 0, 65535, 6554, 0, [](FrmControl& r) { r.Lbl_DummyVol_MouseMove(1); }, 6554, 1},
        {"up from below 1 jumps to half", -100, 100, 10, -50, [](FrmControl& r) { r.Lbl_AudMax_Click(); }, 50, 5},
        {"no control: nothing", 0, 0, 0, 7, [](FrmControl& r) { r.PicVolLights_Click(3); }, 7, 0},
        {"no control: all ten as built", 0, 0, 0, 7, [](FrmControl& r) { r.BuildLights(); }, 7, 10},
    };
    for (const auto& c : cases) {
        FrmControl& r = Remote();
        for (int i = 1; i <= FrmControl::kLights; ++i) r.PicVolLights[i]->hide();
        r.VolMin = c.min, r.VolMax = c.max, r.VolStep = c.step, r.CurVol = c.start;
        c.act(r);
        int lit = 0;
        for (int i = 1; i <= FrmControl::kLights; ++i) lit += r.PicVolLights[i]->isHidden() ? 0 : 1;
        EXPECT_EQ(r.CurVol, c.volume) << c.what;
        EXPECT_EQ(lit, c.lit) << c.what;
    }
}

TEST_F(RemoteTest, HeldVolumeButtonsRepeatUntilReleasedOrLeft) {
    FrmControl& r = Remote();
    r.VolMin = 0, r.VolMax = 100, r.VolStep = 10, r.CurVol = 100;
    r.Lbl_AudioMin_MouseDown();
    EXPECT_TRUE(r.Timer2->isActive());
    r.Timer2_Timer(), r.Timer2_Timer();
    EXPECT_EQ(r.CurVol, 80);
    r.VolumeButton_MouseUp();
    EXPECT_FALSE(r.Timer2->isActive());
    r.PicVolLights_MouseMove(5);  // a lit light restarts the timer, but the button is up: no repeat
    EXPECT_TRUE(r.Timer2->isActive());
    r.Timer2_Timer();
    EXPECT_EQ(r.CurVol, 50);
    r.Form_MouseMove(0, 0, 0, 0);
    EXPECT_FALSE(r.Timer2->isActive());
    r.Form_Activate();
    EXPECT_FALSE(r.VolDownHeld || r.VolUpHeld);
    r.Lbl_AudMax_MouseDown();
    r.Timer2_Timer();
    EXPECT_EQ(r.CurVol, 60);
}

TEST_F(RemoteTest, MuteTogglesThePlayerWithAnX) {
    AddEntry(QStringLiteral("a.mkv"));
    for (const auto& [muted, caption] : {std::pair{true, "X"}, {false, ""}}) {
        Remote().Lbl_Mute_Click();
        EXPECT_EQ(TheCover().Med_Saver->Mute(), muted);
        EXPECT_EQ(Remote().Lbl_Mute->Caption(), caption);
    }
}

TEST_F(RemoteTest, PositionShowsUnderTheSliderWhileTheShowIsVisible) {
    AddEntry(QStringLiteral("a.mkv"));
    TheCover().Med_Saver->LetFileName(QStringLiteral("/media/a.mkv"));
    const std::pair<double, QString> cases[] = {{12.5, QStringLiteral("12.50\r\n of \r\n95.00")},
                                                {0.25, QStringLiteral(".25\r\n of \r\n95.00")}};
    for (const auto& [position, text] : cases) {
        player_->position = position, player_->duration = 95;
        Remote().Timer1_Timer();
        EXPECT_EQ(Remote().Lbl_Tim->Caption(), text);
    }
    TheCover().hide();
    Remote().Timer1_Timer();
    EXPECT_TRUE(Remote().Lbl_Tim->isHidden() && !Remote().Timer1->isActive());
    TheCover().show();
    Remote().Lbl_ShowSlider_Click();
    EXPECT_TRUE(Remote().Timer1->isActive() && !Remote().Lbl_Tim->isHidden());
    Remote().Lbl_ShowSlider_Click();  // a second click turns it off
    EXPECT_TRUE(!Remote().Timer1->isActive() && Remote().Lbl_Tim->isHidden());
}

TEST_F(RemoteTest, OnlyTheLeftButtonDragsIt) {
    for (const int button : {platform::kRightButton, platform::kLeftButton}) {
        Remote().move(0, 0);
        Remote().Form_MouseDown(button, 0, 0, 0);
        QMouseEvent drag(QEvent::MouseMove, QPointF(), QCursor::pos() + QPointF(30, 20), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&Remote(), &drag);
        EXPECT_EQ(Remote().pos(), button == platform::kLeftButton ? QPoint(30, 20) : QPoint(0, 0)) << button;
    }
}

TEST_F(RemoteTest, ZoomKeepsThePlayerCentred) {
    Med_Saver& player = *TheCover().Med_Saver;
    player.LetHeight(3000);
    Remote().Lbl_Mag_Click();
    EXPECT_EQ(player.Height(), 6000);
    EXPECT_EQ(player.Top(), platform::ScreenHeight() / 2 - 3000);
    Remote().Lbl_MagMin_Click(), Remote().Lbl_MagMin_Click();
    EXPECT_EQ(player.Height(), 1500);
    EXPECT_EQ(player.Left(), platform::ScreenWidth() / 2 - player.Width() / 2);
}

TEST_F(RemoteTest, LayoutFollowsTheDesktopFontAndTheSkinShapesIt) {
    EXPECT_EQ(Remote().size(), QSize(321, 202));
    EXPECT_TRUE(Remote().mask().contains(QPoint(160, 100)));
    EXPECT_FALSE(Remote().mask().contains(QPoint(1, 1)));
    const QFont normal = QGuiApplication::font();
    QFont large = normal;
    large.setPixelSize(20);
    QGuiApplication::setFont(large);
    const FrmControl big;
    QGuiApplication::setFont(normal);
    EXPECT_EQ(big.size(), QSize(321, 201));  // 3852 x 2412 twips at 12 to the skin's pixel
    EXPECT_EQ(big.x(), 0);
    EXPECT_EQ(big.Lbl_Tim->pos(), QPoint(60, 96));  // 720, 1155 twips
}

TEST_F(RemoteTest, TheShowWindowShowsAndHidesIt) {
    SetControlMaker([] { return std::make_unique<FrmControl>(); });
    AddEntry(QStringLiteral("a.mkv")), AddEntry(QStringLiteral("b.mkv"));
    TheCover().Med_Saver_Click(platform::kRightButton, 0, 0, 0);
    ASSERT_TRUE(LoadedControl() && LoadedControl()->isVisible());
    static_cast<FrmControl*>(LoadedControl())->Form_KeyUp(platform::kKeyDown, 0);
    EXPECT_EQ(Flags(), QStringLiteral("ES- nav 0"));
    TheCover().Med_Saver_Click(platform::kRightButton, 0, 0, 0);
    EXPECT_FALSE(LoadedControl()->isVisible());
    QTimer::singleShot(0, LoadedControl(), [] { LoadedControl()->hide(); });
    TheCover().Form_MouseUp(platform::kRightButton, 0, 0, 0);  // modal until hidden
    EXPECT_FALSE(LoadedControl()->isVisible());
    gNoRemote = true;
    TheCover().Med_Saver_Click(platform::kRightButton, 0, 0, 0);
    EXPECT_FALSE(LoadedControl()->isVisible());
}

}  // namespace
