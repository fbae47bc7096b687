// The remote control as a person uses it: called up with a right click over
// a running show, its buttons clicked where they are drawn, and the master
// volume read back from a sound server of the test's own; in both layouts,
// at other DPIs and desktop fonts and on scaled screens.

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <cmath>

#include "e2e/ShowE2E.h"
#include "remote/ZoneTable.h"
#include "support/PulseServer.h"

using namespace testsupport;

namespace {

const QPoint kBeside(200, 200);  // on the show, away from the remote
const QColor kMagenta(0xC0, 0x20, 0xC0);  // a show colour the skin has nowhere

// The skin's blue body; its exact shade varies over the face.
bool LooksLikeTheSkin(const QColor& seen) { return seen.blue() > seen.red() + 60 && seen.blue() > seen.green(); }

class RemoteE2E : public ShowE2E {
protected:
    // A sound server for the program, as on a desktop with sound: without one
    // the remote's first appearance waits behind the mixer's message box.
    void WithSound() {
        sound_ = std::make_unique<PulseServer>();
        sound_->UseInThisProcess();
    }
    // Right-clicks the show and waits for the remote.
    void CallUp(QPoint at = kCentre) {
        RightClick(at);
        ASSERT_TRUE(WaitForRemote());
    }
    void RightClick(QPoint at) const {
        screen_.Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "3"});
    }
    // The remote has come, the size of the layout's window at the screen's
    // scale (a pixel of rounding either way).
    bool WaitForRemote() {
        remote_ = screen_.WaitForWindow("ZOR RC");
        const QString text = screen_.Xdotool({"getwindowgeometry", QString::number(remote_.id)});
        const auto match = QRegularExpression(QStringLiteral("(\\d+)x(\\d+)")).match(text);
        size_ = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
        const platform::TwipsRect window = large_ ? remote::kLargeWindow : remote::kSmallWindow;
        const QSize wanted = (QSizeF(window.Width, window.Height) / PerPixel() * scale_).toSize();
        EXPECT_LE(std::max(std::abs(size_.width() - wanted.width()), std::abs(size_.height() - wanted.height())), 1)
            << qPrintable(text) << " wanted " << wanted.width() << 'x' << wanted.height();
        return remote_.id != 0;
    }
    float PerPixel() const { return large_ ? remote::kLargeTwipsPerSkinPixel : remote::kTwipsPerSkinPixel; }
    // The screen point of a point of the skin, in its pixels.
    QPoint OnScreen(QPointF skinPixel) const { return remote_.origin + (skinPixel * scale_).toPoint(); }
    // The middle of the button drawn for a zone: the skin is drawn to the small layout.
    QPoint Button(const char* tooltip) const {
        const platform::TwipsRect d = Zone(tooltip).design;
        return OnScreen(QPointF(d.Left + d.Width / 2, d.Top + d.Height / 2) / remote::kTwipsPerSkinPixel);
    }
    // The middle of volume light i, the lights running under the volume buttons.
    QPoint Light(int i) const {
        const platform::TwipsRect down = Place("Volume Down"), up = Place("Volume Up");
        const float width = (up.Left - down.Left + up.Width) / 10;
        return OnScreen(QPointF(down.Left + (i - 1) * (width - 2) + width / 2, down.Top + down.Height + 50) / PerPixel());
    }
    platform::TwipsRect Place(const char* tooltip) const {
        return large_ ? remote::LargePlace(Zone(tooltip)) : Zone(tooltip).design;
    }
    static const remote::ZoneDesign& Zone(const char* tooltip) {
        for (const remote::ZoneDesign& z : remote::kZoneDesigns)
            if (QLatin1String(z.tooltip) == QLatin1String(tooltip)) return z;
        throw std::logic_error(std::string("no zone ") + tooltip);
    }
    // Where the screen over the remote's window differs from the skin: the
    // show (magenta) must show where the skin is black and beyond it, the
    // skin drawn at the screen's scale elsewhere. The colour is judged where
    // the skin is even and light (lights and text draw on its dark recesses);
    // pixels on the body's edge, which the scale's rounding gives either way,
    // are not judged. Empty when all agree.
    QString OffTheSkin(const QImage& skin) const {
        const QImage screen = screen_.Screen();
        const auto skinAt = [&](QPoint p) {  // the skin pixel a screen pixel of the window shows
            const QPoint s(int(std::floor((p.x() + 0.5) / scale_)), int(std::floor((p.y() + 0.5) / scale_)));
            return skin.valid(s) ? skin.pixelColor(s) : QColor(Qt::black);
        };
        const auto body = [&](QPoint p) { return skinAt(p) != QColor(Qt::black); };
        const auto even = [&](QPoint p) {
            const QColor c = skinAt(p);
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (!VirtualDisplay::Near(skinAt(p + QPoint(dx, dy) * scale_), c, 12)) return false;
            return c.blue() >= 120;
        };
        int off = 0;
        QString first;
        for (int y = 0; y < size_.height(); ++y)
            for (int x = 0; x < size_.width(); ++x) {
                const QPoint p(x, y);
                bool edge = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) edge |= body(p + QPoint(dx, dy)) != body(p);
                if (edge) continue;
                const QColor seen = screen.pixelColor(remote_.origin + p);
                const bool right = body(p) ? !VirtualDisplay::Near(seen, kMagenta) && (!even(p) || VirtualDisplay::Near(seen, skinAt(p)))
                                           : VirtualDisplay::Near(seen, kMagenta);
                if (!right && off++ == 0)
                    first = QStringLiteral("%1,%2 shows %3").arg(x).arg(y).arg(seen.name());
            }
        return off ? QStringLiteral("%1 pixels off the skin; first: %2").arg(off).arg(first) : QString();
    }
    bool RemoteVisible() const {
        return !screen_.Xdotool({"search", "--onlyvisible", "--name", "^ZOR RC$"}).trimmed().isEmpty();
    }
    bool RemoteHides() const {
        QElapsedTimer clock;
        for (clock.start(); RemoteVisible() && clock.elapsed() < 5000;) QThread::msleep(100);
        return !RemoteVisible();
    }

    VirtualDisplay::Window remote_;
    QSize size_;  // the remote's window on the screen
    bool large_ = false;  // the layout the desktop font picks
    qreal scale_ = 1;     // the screen's pixels to Qt's
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

    screen_.Click(Button("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
    screen_.Xdotool({"key", "Down"});  // the remote has the keyboard; the release skips
    EXPECT_TRUE(screen_.Shows(kBeside, kBlue, 40, 5000));
    EXPECT_TRUE(RemoteVisible());

    screen_.Click(Button("Hide Remote Control"));
    EXPECT_TRUE(RemoteHides());

    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    screen_.Click(Button("Quit Show"));
    EXPECT_TRUE(show->EndsCleanly());
}

TEST_F(RemoteE2E, PauseHoldsThePictureAndPlayResumesIt) {
    WithSound();
    MakeTurningClip(program_.file("turning.mp4"));
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("turning.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    screen_.Click(Button("Pause"));
    QThread::msleep(6000);  // past the clip's turn to green
    EXPECT_TRUE(VirtualDisplay::Near(screen_.Screen().pixelColor(kBeside), kRed));
    screen_.Click(Button("Play"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 8000));
}

// The volume runs 0 .. 65536 on a PulseAudio sink: a step of 6554.
TEST_F(RemoteE2E, LightsAndButtonsSetTheMasterVolume) {
    WithSound();
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    CallUp();
    auto masterBecomes = [&](qint64 value) {
        QElapsedTimer clock;
        for (clock.start(); sound_->MasterVolume() != value && clock.elapsed() < 5000;) QThread::msleep(100);
        return sound_->MasterVolume();
    };
    const QPoint light = Light(5);
    screen_.Xdotool({"mousemove", QString::number(light.x()), QString::number(light.y())});
    EXPECT_EQ(masterBecomes(5 * 6554), 5 * 6554);
    // Over the background first: that stops the repeat timer, so the click
    // is one step whatever the timer's phase.
    screen_.Xdotool({"mousemove", QString::number(OnScreen({60, 60}).x()), QString::number(OnScreen({60, 60}).y())});
    screen_.Click(Button("Volume Down"));
    EXPECT_EQ(masterBecomes(4 * 6554), 4 * 6554);
}

// Without a sound server the remote says so once and works without volume.
TEST_F(RemoteE2E, WithoutASoundServerTheMessageComesOnce) {
    const ScopedEnv noServer("PULSE_SERVER", "unix:" + program_.file("no-server").toLocal8Bit());
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("long-red.mp4"), Entry("green.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    RightClick(kCentre);
    ASSERT_TRUE(screen_.Answer("ZORScr", "Return"));
    ASSERT_TRUE(WaitForRemote());  // shown once the box is answered
    RightClick(kBeside);           // hides it
    ASSERT_TRUE(RemoteHides());
    CallUp(kBeside);
    EXPECT_TRUE(screen_.Xdotool({"search", "--onlyvisible", "--name", "^ZORScr$"}).trimmed().isEmpty());
    screen_.Click(Button("Next Clip"));
    EXPECT_TRUE(screen_.Shows(kBeside, kGreen, 40, 5000));
}

// The remote on desktops of other DPIs, fonts and scales. The desktop font
// picks the layout (above 16 pixels high: the large one); Qt takes the DPI
// from QT_FONT_DPI (not from the X server's), and with whole-pixel rounding a
// 120-DPI screen keeps one pixel to Qt's. Each row: the window is the
// layout's size at the scale, cut to the skin drawn at the scale, and the
// buttons drawn on it work where they are drawn.
TEST_F(RemoteE2E, WindowShapeAndZonesLieOnTheSkinInBothLayoutsAtAnyDpiAndScale) {
    struct Desktop {
        const char* name;
        const char* dpi;    // QT_FONT_DPI; none: 96
        const char* scale;  // QT_SCALE_FACTOR; none: 1
        const char* font;   // the desktop font (GTK's); none: Qt's own 9 pt
        bool large;
    };
    const Desktop desktops[] = {
        {"96 DPI, 9 pt: small", nullptr, nullptr, nullptr, false},
        {"96 DPI, 11 pt: large", nullptr, nullptr, "DejaVu Sans 11", true},
        {"120 DPI, 9 pt: large", "120", nullptr, nullptr, true},
        {"120 DPI, 7 pt: small", "120", nullptr, "DejaVu Sans 7", false},
        {"scale 1.5, 9 pt: small", nullptr, "1.5", nullptr, false},
        {"scale 2, 11 pt: large", nullptr, "2", "DejaVu Sans 11", true},
    };
    WithSound();
    MakeClip(program_.file("magenta.mp4"), ColourSource(kMagenta, 320, 180), 30);  // fills the screen
    const QImage skin(QStringLiteral(":/ImageList1/11.bmp"));  // the program's own, linked in here too
    ASSERT_EQ(skin.size(), QSize(320, 200));
    int light = 1;  // another on each desktop: each sets a volume of its own
    for (const Desktop& desktop : desktops) {
        SCOPED_TRACE(desktop.name);
        ++light;
        ScopedEnv env;
        env.Set("QT_FONT_DPI", desktop.dpi);
        env.Set("QT_SCALE_FACTOR_ROUNDING_POLICY", "Round");
        env.Set("QT_SCALE_FACTOR", desktop.scale);
        env.Set("QT_QPA_PLATFORMTHEME", desktop.font ? "gtk3" : nullptr);
        if (desktop.font) {
            const QString config = program_.file("config");
            QDir().mkpath(config + "/gtk-3.0");
            WriteBytes(config + "/gtk-3.0/settings.ini", QByteArray("[Settings]\ngtk-font-name=") + desktop.font + '\n');
            env.Set("XDG_CONFIG_HOME", config.toLocal8Bit());
        }
        large_ = desktop.large;
        scale_ = desktop.scale ? QByteArray(desktop.scale).toDouble() : 1;

        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("magenta.mp4"), Entry("long-red.mp4")});
        ASSERT_TRUE(screen_.Shows(kCentre, kMagenta));
        CallUp();
        screen_.Click(Button("Show Slider"));  // the position text off: the skin alone shows
        screen_.Xdotool({"mousemove", QString::number(kBeside.x()), QString::number(kBeside.y())});  // no tooltip
        QString off;
        QElapsedTimer clock;
        for (clock.start(); !(off = OffTheSkin(skin)).isEmpty() && clock.elapsed() < 5000;) QThread::msleep(200);
        EXPECT_TRUE(off.isEmpty()) << qPrintable(off);

        const QPoint at = Light(light);
        screen_.Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        for (clock.start(); sound_->MasterVolume() != light * 6554 && clock.elapsed() < 5000;) QThread::msleep(100);
        EXPECT_EQ(sound_->MasterVolume(), light * 6554);
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
