#include "show/SideCover.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleHints>

#include "platform/ui/BlackBackground.h"
#include "platform/ui/WindowCaption.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"

namespace show {

namespace {

void Pass(QEvent* event) {
    if (CoverLoaded()) QCoreApplication::sendEvent(&TheCover(), event);
}

// Positions as the show window would see them, so its movement test
// compares like with like.
void PassMouse(QMouseEvent* event, QEvent::Type type) {
    if (!CoverLoaded()) return;
    frmCover& cover = TheCover();
    QMouseEvent moved(type, cover.mapFromGlobal(event->globalPosition()), event->globalPosition(),
                      event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(&cover, &moved);
}

}  // namespace

SideCover::SideCover(QScreen* screen) {
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    platform::FillBlack(*this);
    setMouseTracking(true);
    setScreen(screen);
    setGeometry(screen->geometry());
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect& place) { setGeometry(place); });
    setWindowState(Qt::WindowFullScreen);
    show();
    platform::KeepCaptionEmpty(*this);
}

bool SideCover::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        Pass(event);
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        PassMouse(static_cast<QMouseEvent*>(event), event->type());
        return true;
    case QEvent::MouseButtonPress: {
        auto* press = static_cast<QMouseEvent*>(event);
        PassMouse(press, event->type());
        if (SecondPress(*press)) PassMouse(press, QEvent::MouseButtonDblClick);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return true;  // told from the presses
    default:
        return QWidget::event(event);
    }
}

bool SideCover::SecondPress(const QMouseEvent& press) {
    const QStyleHints* hints = QGuiApplication::styleHints();
    const bool second = press.button() == lastPress_.button &&
                        press.timestamp() - lastPress_.time < quint64(hints->mouseDoubleClickInterval()) &&
                        (press.globalPosition() - lastPress_.at).manhattanLength() <= hints->mouseDoubleClickDistance();
    // A third press starts the next double click, as Qt's own count does.
    lastPress_ = {press.timestamp(), second ? Qt::NoButton : press.button(), press.globalPosition()};
    return second;
}

}  // namespace show
