#include "platform/ui/Cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {

int displayCount = 0;
bool blanked = false;  // our blank override cursor is installed

bool HaveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

// Keeps the blank override cursor in step with the count: installed once
// when the count drops below 0, removed once when it is back at 0.
void FollowCount() {
    if (!HaveGui()) return;
    const bool hide = displayCount < 0;
    if (hide == blanked) return;
    if (hide)
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else
        QGuiApplication::restoreOverrideCursor();
    blanked = hide;
}

}  // namespace

int ShowCursor(bool show) {
    displayCount += show ? 1 : -1;
    FollowCount();
    return displayCount;
}

int CursorDisplayCount() { return displayCount; }

void SetCursorPos(int x, int y) {
    // Wayland lets no client move the pointer (Qt warns at every try).
    if (HaveGui() && !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) QCursor::setPos(x, y);
}

}  // namespace platform
