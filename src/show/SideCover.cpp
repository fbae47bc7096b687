#include "show/SideCover.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

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
void PassMouse(QMouseEvent* event) {
    if (!CoverLoaded()) return;
    frmCover& cover = TheCover();
    QMouseEvent moved(event->type(), cover.mapFromGlobal(event->globalPosition()), event->globalPosition(),
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
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        PassMouse(static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QWidget::event(event);
    }
}

}  // namespace show
