// The remote control as a person uses it: called up with a right click over
// a running show, its buttons clicked where they are drawn, and the master
// volume read back from a sound server of the test's own; in both layouts,
// at other DPIs and desktop fonts and on scaled screens.

#include <QDir>
#include <QThread>
#include <cmath>

#include "e2e/ShowE2E.h"
#include "support/PulseServer.h"

using namespace testsupport;

namespace {

const QPoint kBeside(200, 200);  // on the show, away from the remote
const QColor kMagenta(0xC0, 0x20, 0xC0);  // a show colour the skin has nowhere

class RemoteE2E : public ShowE2E {
protected:
    // A sound server for the program, as on a desktop with sound: without one
    // the mixer's message box would take the remote's first clicks.
    RemoteE2E() { sound_.UseInThisProcess(); }
    // Right-clicks the show and waits for the remote.
    void CallUp(QPoint at = kCentre) {
        screen_.Click(at, 3);
        ASSERT_TRUE(WaitForRemote());
    }
    // The remote has come, its layout's window at the screen's scale.
    bool WaitForRemote() {
        remote_ = screen_.WaitForWindow("ZOR RC");
        const platform::TwipsRect window = large_ ? remote::kLargeWindow : remote::kSmallWindow;
        size_ = (QSizeF(window.Width, window.Height) / PerPixel() * scale_).toSize();
        const QString text = screen_.Xdotool({"getwindowgeometry", QString::number(remote_.id)});
        EXPECT_TRUE(text.contains(QStringLiteral("%1x%2").arg(size_.width()).arg(size_.height()))) << qPrintable(text);
        return remote_.id != 0;
    }
    float PerPixel() const { return large_ ? remote::kLargeTwipsPerSkinPixel : remote::kTwipsPerSkinPixel; }
    // The screen point of a point of the skin, in its pixels.
    QPoint OnScreen(QPointF skinPixel) const { return remote_.origin + (skinPixel * scale_).toPoint(); }
    // The middle of the button drawn for a zone: the skin is drawn to the small layout.
    QPoint Button(const char* tooltip) const {
        const platform::TwipsRect d = RemoteZone(tooltip).design;
        return OnScreen(QPointF(d.Left + d.Width / 2, d.Top + d.Height / 2) / remote::kTwipsPerSkinPixel);
    }
    // The middle of volume light i, the lights running under the volume buttons.
    QPoint Light(int i) const {
        const auto place = [this](const char* tip) { return large_ ? remote::LargePlace(RemoteZone(tip)) : RemoteZone(tip).design; };
        const platform::TwipsRect down = place("Volume Down"), up = place("Volume Up");
        const float width = (up.Left - down.Left + up.Width) / 10;
        return OnScreen(QPointF(down.Left + (i - 1) * (width - 2) + width / 2, down.Top + down.Height + 50) / PerPixel());
    }
    // Where the screen over the remote's window differs from the skin drawn
    // at the screen's scale, with the show (magenta) where it is black; colour
    // only where the skin is even and light (lights and text draw on its dark
    // recesses), nothing on the body's edge, which scaling rounds either way.
    QString OffTheSkin(const QImage& skin) const {
        const QImage screen = screen_.Screen();
        const auto skinAt = [&](QPoint s) { return skin.valid(s) ? skin.pixelColor(s) : QColor(Qt::black); };
        int off = 0;
        QString first;
        for (int y = 0; y < size_.height(); ++y)
            for (int x = 0; x < size_.width(); ++x) {
                const QPoint s(int(std::floor((x + 0.5) / scale_)), int(std::floor((y + 0.5) / scale_)));
                const QColor want = skinAt(s), seen = screen.pixelColor(remote_.origin + QPoint(x, y));
                bool edge = false, even = want.blue() >= 120;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QColor near = skinAt(s + QPoint(dx, dy));
                        edge |= (near == Qt::black) != (want == Qt::black);
                        even &= VirtualDisplay::Near(near, want, 12);
                    }
                const bool right = want == Qt::black ? VirtualDisplay::Near(seen, kMagenta)
                                                     : !VirtualDisplay::Near(seen, kMagenta) &&
                                                           (!even || VirtualDisplay::Near(seen, want));
                if (!edge && !right && off++ == 0) first = QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(seen.name());
            }
        return off ? QStringLiteral("%1 pixels off the skin, first %2").arg(off).arg(first) : QString();
    }
    bool RemoteHides() const { return WaitUntil([this] { return !screen_.Visible("ZOR RC"); }, 5000); }

    void MoveTo(QPoint at) const { screen_.Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}); }
    qint64 MasterBecomes(qint64 value) const {
        WaitUntil([&] { return sound_.MasterVolume() == value; }, 5000);
        return sound_.MasterVolume();
    }

    VirtualDisplay::Window remote_;
    QSize size_;  // the remote's window on the screen
    bool large_ = false;  // the layout the desktop font picks
    qreal scale_ = 1;     // the screen's pixels to Qt's
    PulseServer sound_;
};

// The shape, the buttons and quitting are checked on every desktop below;
// here a right double click, which opens the remote once and leaves it
// open; Pause, which holds the picture, and Play, which resumes it; the
// keyboard, which the remote takes when it opens; and a click in its
// window's rectangle off its skin, which goes through to the show.
TEST_F(RemoteE2E, PausePlayTheKeyboardAndClicksOffTheSkin) {
    MakeClip(program_.file("turning.mp4"),  // red, green from its fourth second
             ColourSource(kRed) + ",drawbox=w=iw:h=ih:color=0x20A040:t=fill:enable='gte(t,4)'", 10);
    MakeLongGreenAndBlue();
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("turning.mp4"), Entry("long-blue.mp4"),
                                                        Entry("long-red.mp4"), Entry("long-green.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    screen_.Xdotool({"mousemove", "640", "360", "click", "--repeat", "2", "--delay", "60", "3"});
    ASSERT_TRUE(WaitForRemote());
    screen_.Click(Button("Pause"));
    QThread::msleep(6000);  // past the clip's turn to green
    EXPECT_TRUE(VirtualDisplay::Near(screen_.Screen().pixelColor(kBeside), kRed));
    screen_.Click(Button("Play"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 8000));
    screen_.Click(Button("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kBlue, 40, 5000));
    screen_.Xdotool({"key", "Down"});  // the release skips
    EXPECT_TRUE(screen_.Shows(kBeside, kRed, 40, 5000));
    screen_.Click(remote_.origin + QPoint(1, 1));  // the skin's black corner: on to the next entry
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
    EXPECT_TRUE(screen_.Visible("ZOR RC"));
}

// Without a sound server the remote says so once and works without volume;
// the show goes on behind the box.
TEST_F(RemoteE2E, WithoutASoundServerTheMessageComesOnce) {
    const ScopedEnv noServer("PULSE_SERVER", "unix:" + program_.file("no-server").toLocal8Bit());
    QList<EntrySpec> entries;
    for (int i = 0; i < 3; ++i) entries << Entry("green.mp4") << Entry("blue.mp4");
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", entries << Entry("long-red.mp4") << Entry("green.mp4"));
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    screen_.Click(kCentre, 3);
    ASSERT_NE(screen_.WaitForWindow("ZORScr").id, 0u);
    // The next entries, the box still up.
    const bool green = VirtualDisplay::Near(screen_.Screen().pixelColor(kBeside), kGreen);
    EXPECT_TRUE(screen_.Shows(kBeside, green ? kBlue : kGreen, 40, 8000));
    EXPECT_TRUE(screen_.Shows(kBeside, kRed, 40, 15000));
    ASSERT_TRUE(screen_.Answer("ZORScr", "Return"));
    ASSERT_TRUE(WaitForRemote());
    screen_.Click(kBeside, 3);  // hides it
    ASSERT_TRUE(RemoteHides());
    CallUp();  // elsewhere: a second right click at the same place would make a double click, which acts once
    EXPECT_FALSE(screen_.Visible("ZORScr"));
    screen_.Click(Button("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
}

// The remote on desktops of other DPIs, fonts and scales: the desktop font
// (GTK's, or Qt's own 9 pt) picks the layout, above 16 pixels high the large
// one; Qt takes the DPI from QT_FONT_DPI, and a 120-DPI screen rounded to
// whole pixels keeps one to Qt's. Each time the window is the layout's size
// at the scale, cut to the skin drawn at the scale, and the buttons work
// where they are drawn. The volume runs 0 .. 65536 on a PulseAudio sink, a
// step of 6554: with the system at 20 % (two lights lit) a volume button's
// step goes from there, and a pointer then resting on a light sets that
// light's level and no lower.
TEST_F(RemoteE2E, WindowShapeAndZonesLieOnTheSkinInBothLayoutsAtAnyDpiAndScale) {
    // dpi, scale, font null: Qt's own; volume: the button clicked, light: the one rested on after it.
    const struct { const char* name; QByteArray dpi, scale, font; bool large; const char* volume; int light; } desktops[] = {
        {"96 DPI, 9 pt", {}, {}, {}, false, "Volume Down", 5},
        {"96 DPI, 11 pt", {}, {}, "DejaVu Sans 11", true, "Volume Up", 6},
        {"120 DPI, 9 pt", "120", {}, {}, true, "Volume Down", 7},
        {"scale 1.5, 9 pt", {}, "1.5", {}, false, "Volume Down", 4},
        {"scale 2, 11 pt", {}, "2", "DejaVu Sans 11", true, "Volume Up", 9},
    };
    MakeClip(program_.file("magenta.mp4"), ColourSource(kMagenta, 320, 180), 30);  // fills the screen
    const QImage skin(QStringLiteral(":/ImageList1/11.bmp"));  // the program's own, linked in here too
    QDir().mkpath(program_.file("gtk-3.0"));
    for (const auto& desktop : desktops) {
        SCOPED_TRACE(desktop.name);
        ScopedEnv env;
        env.Set("QT_FONT_DPI", desktop.dpi), env.Set("QT_SCALE_FACTOR", desktop.scale);
        env.Set("QT_SCALE_FACTOR_ROUNDING_POLICY", "Round");
        env.Set("QT_QPA_PLATFORMTHEME", desktop.font.isNull() ? QByteArray() : "gtk3");
        env.Set("XDG_CONFIG_HOME", program_.file(".").toLocal8Bit());
        WriteBytes(program_.file("gtk-3.0/settings.ini"), "[Settings]\ngtk-font-name=" + desktop.font);
        large_ = desktop.large;
        scale_ = desktop.scale.isNull() ? 1 : desktop.scale.toDouble();

        ASSERT_TRUE(sound_.SetMasterVolume("20%"));
        ASSERT_EQ(sound_.MasterVolume(), 13107);
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("magenta.mp4"), Entry("long-red.mp4")});
        ASSERT_TRUE(screen_.Shows(kCentre, kMagenta));
        CallUp();
        screen_.Click(Button("Show Slider"));  // the position text off: the skin alone shows
        MoveTo(kBeside);  // no tooltip
        QString off;
        EXPECT_TRUE(WaitUntil([&] { return (off = OffTheSkin(skin)).isEmpty(); }, 5000, 200)) << qPrintable(off);

        const QImage seen = screen_.Screen();
        const auto lit = [&](int i) { return qMax(seen.pixelColor(Light(i)).red(), seen.pixelColor(Light(i)).green()) > 80; };
        EXPECT_TRUE(lit(1) && lit(2) && !lit(3));
        // Over the background first: that stops the repeat timer, so the click
        // is one step whatever the timer's phase.
        MoveTo(OnScreen({60, 60}));
        screen_.Click(Button(desktop.volume));
        const qint64 stepped = QLatin1String(desktop.volume) == QLatin1String("Volume Up") ? 13107 + 6554 : 13107 - 6554;
        EXPECT_EQ(MasterBecomes(stepped), stepped);
        MoveTo(Light(desktop.light));
        MoveTo(Light(desktop.light) + QPoint(0, 1));  // a hand is never quite still
        QThread::msleep(2500);
        EXPECT_EQ(MasterBecomes(desktop.light * 6554), desktop.light * 6554);
        screen_.Click(Button("Next Clip"));
        EXPECT_TRUE(screen_.Shows(kBeside, kRed, 40, 5000));
        screen_.Click(Button("Hide Remote Control"));
        EXPECT_TRUE(RemoteHides());
        CallUp();
        screen_.Click(Button("Quit Show"));
        EXPECT_TRUE(show->EndsCleanly());
    }
}

}  // namespace
