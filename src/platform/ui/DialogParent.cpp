#include "platform/ui/DialogParent.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

QWindow* FullScreenWindow(const QWindow* besides) {
    const auto fullScreen = [besides](QWindow* window) {
        return window && window != besides && window->isVisible() && (window->windowStates() & Qt::WindowFullScreen);
    };
    if (QWindow* focus = QGuiApplication::focusWindow(); fullScreen(focus)) return focus;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (fullScreen(window) && window->screen() == QGuiApplication::primaryScreen()) return window;
    return nullptr;
}

// Qt sends the show event before it maps the window, so the parent is
// known to the compositor from the window's first appearance.
class ParentOnShow : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWindow* window = widget->isWindow() ? widget->windowHandle() : nullptr;
        if (!window || window->transientParent() || (widget->windowType() & Qt::Popup) == Qt::Popup) return false;
        if (widget->windowState() & Qt::WindowFullScreen) return false;
        if (QWindow* parent = FullScreenWindow(window)) window->setTransientParent(parent);
        return false;
    }
};

}  // namespace

void KeepDialogsOverFullScreenWindows() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    static ParentOnShow filter;
    qApp->installEventFilter(&filter);
}

}  // namespace platform
