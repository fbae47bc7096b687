#pragma once
// Windows of other programs, named by their X11 window id: the preview area
// of a desktop's screensaver settings hands the program such an id.

#include <QPoint>
#include <optional>

class QWidget;

namespace platform {

struct ClientRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The inner size of the window; all zero when the id names no window.
ClientRect GetClientRect(unsigned long windowId);

// The centre of the window on the screen (root coordinates); nullopt when
// the id names no window.
std::optional<QPoint> ForeignWindowCentre(unsigned long windowId);

// Makes window a child of the foreign window, placed at (0, 0) with the
// given size, and shows it without activating it. Returns false and leaves
// window hidden when the id names no window.
bool ParentIntoForeignWindow(QWidget& window, unsigned long windowId, int width, int height);

}  // namespace platform
