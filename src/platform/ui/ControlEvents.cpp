#include "platform/ui/ControlEvents.h"

#include "platform/ui/VbInput.h"
#include "platform/vb/VbError.h"

namespace platform {

void RaiseMouse(const MouseHandler& handler, const QWidget& control, const QMouseEvent& event) {
    if (!handler) return;
    const int button = event.type() == QEvent::MouseMove ? VbButtons(event.buttons()) : VbButton(event.button());
    const TwipsPoint p = PointInTwips(control, event);
    vb::ResumeNext([&] { handler(button, VbShift(event.modifiers()), p.X, p.Y); });
}

void RaiseClick(const std::function<void()>& click, const QWidget& control, const QMouseEvent& event) {
    if (click && event.button() == Qt::LeftButton && control.rect().contains(event.position().toPoint()))
        vb::ResumeNext([&] { click(); });
}

}  // namespace platform
