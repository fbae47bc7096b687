// The remote control as a person uses it: called up with a right click over
// a running show, its buttons clicked where they are drawn, and the master
// volume read back from a sound server of the test's own.

#include <QElapsedTimer>
#include <QThread>

#include "e2e/ShowE2E.h"
#include "remote/ZoneTable.h"
#include "support/PulseServer.h"

using namespace testsupport;

namespace {

constexpr float kTwipsPerPixel = 15;  // Xvfb's 96 DPI
const QPoint kBeside(200, 200);       // on the show, away from the remote

// The skin's blue body; its exact shade varies over the face.
bool LooksLikeTheSkin(const QColor& seen) { return seen.blue() > seen.red() + 60 && seen.blue() > seen.green(); }

class RemoteE2E : public ShowE2E {
protected:
    // A sound server for the program, as on a desktop with sound: without one
    // the mixer's message box would take the remote's first clicks.
    void WithSound() {
        sound_ = std::make_unique<PulseServer>();
        sound_->UseInThisProcess();
    }
    // Right-clicks the show and waits for the remote; in the small layout,
    // the one the virtual display's font gives.
    void CallUp(QPoint at = kCentre) {
        RightClick(at);
        ASSERT_TRUE(WaitForRemote());
    }
    void RightClick(QPoint at) const {
        screen_.Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "3"});
    }
    bool WaitForRemote() {
        remote_ = screen_.WaitForWindow("ZOR RC");
        const QString size = screen_.Xdotool({"getwindowgeometry", QString::number(remote_.id)});
        EXPECT_TRUE(size.contains("321x202")) << qPrintable(size);
        return remote_.id != 0;
    }
    // The screen point at a twips position inside the remote.
    QPoint At(float left, float top) const {
        return remote_.origin + QPoint(int(left / kTwipsPerPixel), int(top / kTwipsPerPixel));
    }
    QPoint Zone(const char* tooltip) const {
        for (const remote::ZoneDesign& z : remote::kZoneDesigns)
            if (QLatin1String(z.tooltip) == QLatin1String(tooltip))
                return At(z.design.Left + z.design.Width / 2, z.design.Top + z.design.Height / 2);
        ADD_FAILURE() << "no zone " << tooltip;
        return {};
    }
    // The middle of volume light i, the lights running under the volume buttons.
    QPoint Light(int i) const {
        const platform::TwipsRect down = Design("Volume Down"), up = Design("Volume Up");
        const float width = (up.Left - down.Left + up.Width) / 10;
        return At(down.Left + (i - 1) * (width - 2) + width / 2, down.Top + down.Height + 50);
    }
    static platform::TwipsRect Design(const char* tooltip) {
        for (const remote::ZoneDesign& z : remote::kZoneDesigns)
            if (QLatin1String(z.tooltip) == QLatin1String(tooltip)) return z.design;
        return {};
    }
    bool RemoteVisible() const {
        return !screen_.Xdotool({"search", "--onlyvisible", "--name", "^ZOR RC$"}).trimmed().isEmpty();
    }
    bool RemoteHides() const {
        QElapsedTimer clock;
        for (clock.start(); RemoteVisible() && clock.elapsed() < 5000;) QThread::msleep(100);
        return !RemoteVisible();
    }

    void MoveTo(QPoint at) const { screen_.Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}); }
    // Over the background first: that stops the repeat timer, so the click
    // is one step whatever the timer's phase.
    void ClickVolume(const char* button) const {
        MoveTo(At(900, 900));
        screen_.Click(Zone(button));
    }
    qint64 MasterBecomes(qint64 value) const {
        QElapsedTimer clock;
        for (clock.start(); sound_->MasterVolume() != value && clock.elapsed() < 5000;) QThread::msleep(100);
        return sound_->MasterVolume();
    }

    VirtualDisplay::Window remote_;
    std::unique_ptr<PulseServer> sound_;
};

// A clip that turns from red to green after four seconds.
void MakeTurningClip(const QString& path) {
    MakeClip(path, ColourSource(kRed) + ",drawbox=w=iw:h=ih:color=0x20A040:t=fill:enable='gte(t,4)'", 10);
}

TEST_F(RemoteE2E, ShapedOverTheShowAndSkipsQuitsAndHides) {
    WithSound();
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                            {Entry("long-red.mp4"), Entry("green.mp4"), Entry("blue.mp4"), Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    // The shape: the corners show the show behind the oval, the middle is the skin.
    const QImage screen = screen_.Screen();
    for (const QPoint corner : {QPoint(1, 1), QPoint(319, 1), QPoint(1, 200), QPoint(319, 200)})
        EXPECT_TRUE(VirtualDisplay::Near(screen.pixelColor(remote_.origin + corner), kRed)) << corner.x() << ',' << corner.y();
    EXPECT_TRUE(LooksLikeTheSkin(screen.pixelColor(remote_.origin + QPoint(60, 60))));

    screen_.Click(Zone("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
    screen_.Xdotool({"key", "Down"});  // the remote has the keyboard; the release skips
    EXPECT_TRUE(screen_.Shows(kBeside, kBlue, 40, 5000));
    EXPECT_TRUE(RemoteVisible());

    screen_.Click(Zone("Hide Remote Control"));
    EXPECT_TRUE(RemoteHides());

    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    screen_.Click(Zone("Quit Show"));
    EXPECT_TRUE(show->EndsCleanly());
}

TEST_F(RemoteE2E, PauseHoldsThePictureAndPlayResumesIt) {
    WithSound();
    MakeTurningClip(program_.file("turning.mp4"));
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("turning.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    screen_.Click(Zone("Pause"));
    QThread::msleep(6000);  // past the clip's turn to green
    EXPECT_TRUE(VirtualDisplay::Near(screen_.Screen().pixelColor(kBeside), kRed));
    screen_.Click(Zone("Play"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 8000));
}

// The volume runs 0 .. 65536 on a PulseAudio sink: a step of 6554.
TEST_F(RemoteE2E, LightsAndButtonsSetTheMasterVolume) {
    WithSound();
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    MoveTo(Light(5));
    EXPECT_EQ(MasterBecomes(5 * 6554), 5 * 6554);
    ClickVolume("Volume Down");
    EXPECT_EQ(MasterBecomes(4 * 6554), 4 * 6554);
}

// With the system at 20 % (two lights lit), the first step goes from there,
// and a pointer resting on a light after a click on a volume button sets
// that light's level and no lower.
TEST_F(RemoteE2E, VolumeGoesFromTheSystemsLevelAndStaysWherePut) {
    WithSound();
    const struct { const char* what; std::function<void()> act; qint64 volume; } rows[] = {
        {"Volume Down", [&] { ClickVolume("Volume Down"); }, 13107 - 6554},
        {"Volume Up", [&] { ClickVolume("Volume Up"); }, 13107 + 6554},
        {"Volume Down, then resting on light 5", [&] {
             ClickVolume("Volume Down");
             MoveTo(Light(5));
             MoveTo(Light(5) + QPoint(0, 1));  // a hand is never quite still
             QThread::msleep(2500);
         }, 5 * 6554},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(sound_->SetMasterVolume("20%"));
        ASSERT_EQ(sound_->MasterVolume(), 13107);
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("long-red.mp4")});
        ASSERT_TRUE(screen_.Shows(kCentre, kRed));
        CallUp();
        const QImage seen = screen_.Screen();
        const auto lit = [&](int i) { return qMax(seen.pixelColor(Light(i)).red(), seen.pixelColor(Light(i)).green()) > 80; };
        EXPECT_TRUE(lit(1) && lit(2) && !lit(3));
        row.act();
        EXPECT_EQ(MasterBecomes(row.volume), row.volume);
    }
}

// Without a sound server the remote says so once and works without volume;
// the show goes on behind the box.
TEST_F(RemoteE2E, WithoutASoundServerTheMessageComesOnce) {
    const ScopedEnv noServer("PULSE_SERVER", "unix:" + program_.file("no-server").toLocal8Bit());
    QList<EntrySpec> entries;
    for (int i = 0; i < 3; ++i) entries << Entry("green.mp4") << Entry("blue.mp4");
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", entries << Entry("long-red.mp4") << Entry("green.mp4"));
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    RightClick(kCentre);
    ASSERT_NE(screen_.WaitForWindow("ZORScr").id, 0u);
    // The next entries, the box still up.
    const bool green = VirtualDisplay::Near(screen_.Screen().pixelColor(kBeside), kGreen);
    EXPECT_TRUE(screen_.Shows(kBeside, green ? kBlue : kGreen, 40, 8000));
    EXPECT_TRUE(screen_.Shows(kBeside, kRed, 40, 15000));
    ASSERT_TRUE(screen_.Answer("ZORScr", "Return"));
    ASSERT_TRUE(WaitForRemote());
    RightClick(kBeside);  // hides it
    ASSERT_TRUE(RemoteHides());
    CallUp(kBeside);
    EXPECT_TRUE(screen_.Xdotool({"search", "--onlyvisible", "--name", "^ZORScr$"}).trimmed().isEmpty());
    screen_.Click(Zone("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
}

}  // namespace
