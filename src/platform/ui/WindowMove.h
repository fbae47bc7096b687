#pragma once
// Dragging a borderless window by its face, as releasing the mouse capture
// and sending the window a caption click does: called while the left button
// is down on the window, it moves the window with the pointer until the
// button is released. Where a window manager can move windows, it does;
// elsewhere (a bare X server, as under Xvfb) the window follows the pointer
// itself, and the moves of the drag do not reach its handlers.

class QWidget;

namespace platform {

void StartWindowMove(QWidget& window);

}  // namespace platform
