#include "show/StillPicture.h"

#include <QTimer>
#include <algorithm>

#include "config/Instances.h"
#include "config/LogError.h"
#include "platform/ui/Twips.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "state/ShowOptions.h"

using namespace config;

namespace show {

namespace {

constexpr qint16 kDefaultStillDelay = 5;  // seconds, for a delay below 1

// The run-time's division: a zero divisor is an error, not an infinity.
float Divide(float dividend, float divisor) {
    if (divisor == 0) vb::Raise(dividend == 0 ? vb::ErrNum::Overflow : vb::ErrNum::DivisionByZero);
    return dividend / divisor;
}

// --fill: the picture covers the screen with its proportions, centred, the
// show window's edges cutting off the excess equally on both sides.
void CoverScreen(platform::ImageControl& still, float stillW, float stillH) {
    const float screenW = platform::ScreenWidth(), screenH = platform::ScreenHeight();
    const float scale = std::max(screenW / stillW, screenH / stillH);
    const float width = stillW * scale, height = stillH * scale;
    platform::SetGeometry(still, {(screenW - width) / 2, (screenH - height) / 2, width, height});
}

}  // namespace

// The picture fills the screen height with the proportions StillW : StillH,
// or the screen width when that is too wide, centred. An entry without a
// usable size (0 or below) takes the picture's own.
void PlaceStill(frmCover& cover, const Movie& entry) {
    platform::ImageControl& still = *cover.Img_Stillc;
    const bool sized = entry.StillW() > 0 && entry.StillH() > 0;
    const float stillW = sized ? float(entry.StillW()) : float(still.PictureSize().width());
    const float stillH = sized ? float(entry.StillH()) : float(still.PictureSize().height());
    if (state::TheShowOptions().fill && entry.PlayFullScreen() && stillW > 0 && stillH > 0)
        return CoverScreen(still, stillW, stillH);
    const float perPixelX = platform::TwipsPerPixelX(), perPixelY = platform::TwipsPerPixelY();
    platform::TwipsRect place = platform::Geometry(still);
    place.Height = platform::ScreenHeight();
    platform::SetGeometry(still, place);
    place = platform::Geometry(still);
    float scale = Divide(place.Height / perPixelX, stillH / perPixelX);
    place.Width = stillW * scale;
    place.Top = 0;
    platform::SetGeometry(still, place);
    place = platform::Geometry(still);

    const platform::TwipsRect window = platform::Geometry(cover);
    if (place.Width > window.Width) {
        place.Width = platform::ScreenWidth();
        platform::SetGeometry(still, place);
        place = platform::Geometry(still);
        scale = Divide(place.Width / perPixelY, stillW / perPixelY);
        place.Height = stillH * scale;
        platform::SetGeometry(still, place);
        place = platform::Geometry(still);
        place.Top = window.Height / 2 - place.Height / 2;
    }
    place.Left = static_cast<float>(vb::CLng(static_cast<double>(platform::ScreenWidth())) / 2 -
                                    vb::CLng(static_cast<double>(place.Width)) / 2);
    if (place.Top < 0) place.Top = 0;
    platform::SetGeometry(still, place);
}

void ShowStillPicture(frmCover& cover, Movie& entry) {
    platform::ImageControl& still = *cover.Img_Stillc;
    still.LoadPicture(QString());
    still.setVisible(false);
    still.LetStretch(true);
    // A picture that cannot be drawn ends the show with the location error;
    // the log keeps why (gone, or the reader's reason).
    const QString file = entry.Path() + entry.MovieName();
    vb::OnError([&] { still.LoadPicture(file); },
                [&](const vb::VbError& e) {
                    LogError(QStringLiteral("Picture error: %1: %2").arg(file, e.description()), false);
                    throw e;
                });
    PlaceStill(cover, entry);
    still.setVisible(true);
    cover.show();
    StartStillTimer(cover);
}

int StillDelayMs() {
    qint16 delay = gSettings().StillDelayTimer();
    if (delay < 1) {
        delay = kDefaultStillDelay;
        gSettings().LetStillDelayTimer(delay);
    }
    return static_cast<int>(delay) * 1000;
}

void StartStillTimer(frmCover& cover) {
    // A still abandoned before its time leaves the timer running with its
    // old interval.
    if (!cover.StillTimerc->isActive()) cover.StillTimerc->start(StillDelayMs());
}

}  // namespace show
