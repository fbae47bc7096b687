#include "platform/ui/WindowRegion.h"

#include <QRegion>
#include <QWidget>
#include <vector>

namespace platform {
namespace {

QRegion ToQRegion(const gdi::Region& region) {
    // An empty mask means "no mask" to Qt, so an empty region becomes one
    // pixel outside the window: nothing of the window is left.
    if (region.IsEmpty()) return QRegion(-1, -1, 1, 1);
    std::vector<QRect> rects;
    rects.reserve(region.Rects().size());
    for (const gdi::RECT& r : region.Rects()) rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    QRegion shaped;
    shaped.setRects(rects.data(), int(rects.size()));  // already in Qt's banded order
    return shaped;
}

}  // namespace

bool SetWindowRgn(unsigned long hWnd, const gdi::Region* region, bool redraw) {
    QWidget* window = QWidget::find(WId(hWnd));
    if (!window) return false;
    if (region) {
        window->setMask(ToQRegion(*region));
    } else {
        window->clearMask();
    }
    if (redraw) window->update();
    return true;
}

}  // namespace platform
