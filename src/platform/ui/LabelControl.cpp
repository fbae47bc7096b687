#include "platform/ui/LabelControl.h"
#include "platform/ui/ControlEvents.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/VbInput.h"
#include "platform/vb/VbError.h"

namespace platform {

LabelControl::LabelControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);  // VB raises MouseMove without a button held
}

void LabelControl::LetCaption(const QString& text) {
    caption_ = text;
    FitText();
    update();
}

void LabelControl::LetAutoSize(bool value) {
    autoSize_ = value;
    FitText();
}

void LabelControl::LetForeColor(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void LabelControl::LetEnabled(bool value) {
    setEnabled(value);
    setAttribute(Qt::WA_TransparentForMouseEvents, !value);
}

namespace {

// Line breaks are written "\r\n", as Windows writes them.
QString Shown(const QString& caption) { return QString(caption).replace(QLatin1String("\r\n"), QLatin1String("\n")); }

}  // namespace

void LabelControl::FitText() {
    if (!autoSize_) return;
    const QSize text = fontMetrics().size(0, Shown(caption_));
    resize(text.width(), text.height());
}

void LabelControl::paintEvent(QPaintEvent*) {
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, Shown(caption_));
}

void LabelControl::mousePressEvent(QMouseEvent* event) {
    RaiseMouse(MouseDown, *this, *event);
    event->accept();
}

void LabelControl::mouseReleaseEvent(QMouseEvent* event) {
    RaiseMouse(MouseUp, *this, *event);
    RaiseClick(Click, *this, *event);
    event->accept();
}

void LabelControl::mouseMoveEvent(QMouseEvent* event) {
    RaiseMouse(MouseMove, *this, *event);
    event->accept();
}

}  // namespace platform
