#include "platform/ui/VbInput.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/ui/Twips.h"

namespace platform {

int VbButton(Qt::MouseButton button) { return VbButtons(button); }

int VbButtons(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? kLeftButton : 0) | (buttons & Qt::RightButton ? kRightButton : 0) |
           (buttons & Qt::MiddleButton ? kMiddleButton : 0);
}

int VbShift(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int VbKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    // Letters and digits keep their upper-case character as the code.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int VbKeyAscii(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Escape) return kKeyEscape;  // not every platform gives Escape a text
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.front().unicode();
}

TwipsPoint PointInTwips(const QWidget& receiver, const QMouseEvent& event) {
    const QPointF p = event.position();
    return {static_cast<float>(p.x()) * TwipsPerPixelX(receiver), static_cast<float>(p.y()) * TwipsPerPixelY(receiver)};
}

}  // namespace platform
