#pragma once
// A window whose caption is empty shows an empty caption: Qt names such a
// window after the application in the X11 title the window lists read.

class QWidget;

namespace platform {

// Call once the window is shown; does nothing while it has a caption.
void KeepCaptionEmpty(QWidget& window);

}  // namespace platform
