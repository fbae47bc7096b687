#pragma once
// Mouse and keyboard events in the form the VB controls raise them: buttons
// 1 left, 2 right, 4 middle; shift state 1 Shift, 2 Ctrl, 4 Alt; key codes
// and character codes as Windows numbers them (27 is Escape in both);
// pointer positions in twips.

#include <Qt>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace platform {

// The numbers the handlers compare with.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kKeyReturn = 13;  // key code and character code alike
constexpr int kKeyEscape = 27;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

int VbButton(Qt::MouseButton button);
int VbButtons(Qt::MouseButtons buttons);  // the buttons held during a move
int VbShift(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a key (0 for keys the program has no number for).
int VbKeyCode(const QKeyEvent& event);
// The character a key press produces (0 when it produces none).
int VbKeyAscii(const QKeyEvent& event);

struct TwipsPoint {
    float X = 0;
    float Y = 0;
};
// The pointer's place in the receiving control, in that control's twips.
TwipsPoint PointInTwips(const QWidget& receiver, const QMouseEvent& event);

}  // namespace platform
