// Kept apart from the X11 side of the host window: Xlib's macros clash with
// Qt's event names.
#include <QCoreApplication>
#include <QEvent>

#include "platform/ui/HostWindow.h"

namespace platform {
namespace {

class InputBlock : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::ContextMenu:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

void LeaveInputToHost() {
    static InputBlock block;
    QCoreApplication::instance()->installEventFilter(&block);
}

}  // namespace platform
