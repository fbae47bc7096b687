#include "platform/ui/ImageControl.h"
#include "platform/ui/ControlEvents.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/VbInput.h"
#include "platform/vb/VbError.h"

namespace platform {
namespace {
constexpr qint32 kInvalidPicture = 481;
}

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void ImageControl::LetStretch(bool value) {
    stretch_ = value;
    update();
}

void ImageControl::LoadPicture(const QString& file) {
    if (file.isEmpty()) {
        picture_ = QPixmap();
    } else {
        if (!QFileInfo(file).isFile()) vb::Raise(vb::ErrNum::FileNotFound);
        QPixmap loaded(file);
        if (loaded.isNull()) vb::Raise(kInvalidPicture, QString(), QStringLiteral("Invalid picture"));
        picture_ = std::move(loaded);
        if (!stretch_) resize(picture_.size());
    }
    update();
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
