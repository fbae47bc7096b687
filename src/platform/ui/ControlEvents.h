#pragma once
// The mouse events a control raises to its form, as VB's controls do: with
// the button (the buttons held, for a move), the shift state and the
// pointer's place in twips. A run-time error in a handler is skipped, as
// under continue-on-error; an empty handler is not raised.

#include <QMouseEvent>
#include <QWidget>
#include <functional>

namespace platform {

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

void RaiseMouse(const MouseHandler& handler, const QWidget& control, const QMouseEvent& event);
// A left-button release over the control is its Click.
void RaiseClick(const std::function<void()>& click, const QWidget& control, const QMouseEvent& event);

}  // namespace platform
