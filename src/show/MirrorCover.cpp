#include "show/MirrorCover.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "config/Instances.h"
#include "config/MovieCollection.h"
#include "platform/media/PictureMirror.h"
#include "platform/ui/ImageControl.h"
#include "platform/vb/VbError.h"
#include "show/FormInstances.h"
#include "show/Med_Saver.h"
#include "show/frmCover.h"
#include "state/RunState.h"

using namespace config;

namespace show {

MirrorCover::MirrorCover(QScreen* screen) : SideCover(screen) {
    picture_ = platform::media::NewPictureMirrorWidget(new platform::media::PictureMirror());
    picture_->setParent(this);
    picture_->setGeometry(rect());
    still_ = new platform::ImageControl(this);
    still_->setAttribute(Qt::WA_TransparentForMouseEvents);  // the cover's input is the show's
    still_->LetStretch(true);
    still_->hide();
    picture_->show();
    PrimaryStarted(state::gCurrentIndex);  // a monitor plugged in during an entry
}

void MirrorCover::PrimaryStarted(int position) {
    QTimer::singleShot(0, this, [this, position] { Follow(position); });
}

void MirrorCover::Follow(int position) {
    picture_->setGeometry(rect());
    frmCover* cover = CoverLoaded() ? &TheCover() : nullptr;
    const bool shown = cover && cover->isVisible();
    picture_->setVisible(shown && cover->Med_Saver->isVisible());
    const bool still = shown && cover->Img_Stillc->isVisible() && position <= gMovies().Count();
    if (still) {
        Movie& entry = gMovies().Item(position);
        vb::ResumeNext([&] { still_->LoadPicture(entry.Path() + entry.MovieName()); });  // the primary logs a failure
        // Where the primary's lies on its monitor, scaled to this one.
        const QRect monitor = cover->screen()->geometry();
        const QRect place(cover->Img_Stillc->mapToGlobal(QPoint()) - monitor.topLeft(), cover->Img_Stillc->size());
        const double sx = double(width()) / monitor.width(), sy = double(height()) / monitor.height();
        still_->setGeometry(int(place.x() * sx), int(place.y() * sy), int(place.width() * sx), int(place.height() * sy));
    } else {
        still_->LoadPicture(QString());
    }
    still_->setVisible(still);
}

}  // namespace show
