#include "platform/ui/ImageControl.h"
#include "platform/ui/ControlEvents.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include "platform/media/PictureFrames.h"
#include "platform/ui/VbInput.h"
#include "platform/vb/VbError.h"

namespace platform {
namespace {
constexpr qint32 kInvalidPicture = 481;
}

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    frameTimer_.setSingleShot(true);
    QObject::connect(&frameTimer_, &QTimer::timeout, this, [this] { ShowNextFrame(); });
}

ImageControl::~ImageControl() = default;

void ImageControl::LetStretch(bool value) {
    stretch_ = value;
    update();
}

void ImageControl::LoadPicture(const QString& file) {
    frameTimer_.stop();
    frames_.reset();
    if (file.isEmpty()) {
        picture_ = QPixmap();
    } else {
        if (!QFileInfo(file).isFile()) vb::Raise(vb::ErrNum::FileNotFound);
        auto frames = std::make_unique<media::PictureFrames>();
        if (!frames->Open(file))
            vb::Raise(kInvalidPicture, QString(), QStringLiteral("Invalid picture (%1)").arg(frames->reason()));
        picture_ = QPixmap::fromImage(frames->First());
        if (!stretch_) resize(picture_.size());
        if (frames->Moves()) {
            frameTimer_.start(frames->FirstDelayMs());
            frames_ = std::move(frames);
        }
    }
    update();
}

void ImageControl::ShowNextFrame() {
    int delayMs = 0;
    const QImage frame = frames_->Next(&delayMs);
    if (frame.isNull()) {
        frames_.reset();
        return;
    }
    picture_ = QPixmap::fromImage(frame);
    update();
    frameTimer_.start(delayMs);
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (stretch_)
        painter.drawPixmap(rect(), picture_);
    else
        painter.drawPixmap(0, 0, picture_);
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    RaiseMouse(MouseMove, *this, *event);
    event->accept();
}

void ImageControl::mousePressEvent(QMouseEvent* event) { event->accept(); }
void ImageControl::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace platform
