#include "platform/ui/PictureBox.h"
#include "platform/ui/ControlEvents.h"

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
    RaiseClick(Click, *this, *event);
    event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    RaiseMouse(MouseMove, *this, *event);
    event->accept();
}

}  // namespace platform
