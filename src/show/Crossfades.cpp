#include "show/Crossfades.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include "show/frmCover.h"
#include "state/ShowOptions.h"

namespace show {
namespace {

// The picture of the still before, over the whole show window, going from
// opaque to clear over the crossfade, then gone. It takes no input.
class FadingPicture : public QWidget {
public:
    FadingPicture(QWidget& window, QImage picture, int milliseconds)
        : QWidget(&window), picture_(std::move(picture)), milliseconds_(milliseconds) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(window.rect());
        QObject::connect(&tick_, &QTimer::timeout, this, [this] {
            if (clock_.elapsed() >= milliseconds_) return deleteLater();
            update();
        });
        clock_.start();
        tick_.start(20);  // as the player's fades step
        show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setOpacity(1.0 - std::min(1.0, static_cast<double>(clock_.elapsed()) / milliseconds_));
        painter.drawImage(rect(), picture_);
    }

private:
    QImage picture_;
    int milliseconds_;
    QElapsedTimer clock_;
    QTimer tick_;
};

// The still as the window shows it, cut to area (window coordinates):
// black where the still is not.
QImage StillIn(frmCover& cover, const Outgoing& taken, QRect area) {
    if (!taken.still.isNull()) return taken.still.copy(area);
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter(&picture).drawPixmap(cover.Img_Stillc->geometry().topLeft() - area.topLeft(), cover.Img_Stillc->grab());
    return picture;
}

}  // namespace

Outgoing TakeOutgoing(frmCover& cover) {
    if (state::TheShowOptions().crossfadeMs <= 0) return {};
    Outgoing taken;
    taken.clip = cover.Med_Saver->isVisible() && !cover.Med_Saver->FileName().isEmpty() && !cover.Med_Saver->Failed();
    if (!taken.clip && cover.Img_Stillc->isVisible() && cover.Img_Stillc->HasPicture())
        taken.still = StillIn(cover, {}, cover.rect());
    return taken;
}

void FadeIntoStill(frmCover& cover, const Outgoing& before) {
    if (before.clip) return cover.Med_Saver->FadeOutOver(StillIn(cover, {}, cover.Med_Saver->geometry()));
    if (!before.still.isNull()) new FadingPicture(cover, before.still, state::TheShowOptions().crossfadeMs);
}

void FadeIntoClip(frmCover& cover, const Outgoing& before) {
    if (!before.still.isNull()) cover.Med_Saver->FadeInOver(StillIn(cover, before, cover.Med_Saver->geometry()));
}

}  // namespace show
