#include "platform/ui/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/VbInput.h"
#include "platform/vb/VbError.h"

namespace platform {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void PictureBox::LetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (Click && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        vb::ResumeNext([&] { Click(); });
    event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const TwipsPoint p = PointInTwips(*event);
    if (MouseMove) vb::ResumeNext([&] { MouseMove(VbButtons(event->buttons()), VbShift(event->modifiers()), p.X, p.Y); });
    event->accept();
}

}  // namespace platform
