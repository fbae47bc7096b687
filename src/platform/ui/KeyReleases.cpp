#include "platform/ui/KeyReleases.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWindow>
#include <map>

namespace platform {
namespace {

// Each key event of the system reaches a top-level QWindow once, before Qt
// hands it to a widget: the place to judge it.
class ReleaseFilter : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !receiver->isWindowType() ||
            !event->spontaneous())
            return false;
        QWindow* window = static_cast<QWindow*>(receiver);
        while (window->parent()) window = window->parent();
        const quint32 key = static_cast<QKeyEvent*>(event)->nativeScanCode();
        if (type == QEvent::KeyPress) {
            pressedIn_[key] = window;
            return false;
        }
        const auto press = pressedIn_.find(key);
        const bool own = press != pressedIn_.end() && press->second == window;
        if (press != pressedIn_.end()) pressedIn_.erase(press);
        return !own;
    }

private:
    std::map<quint32, QPointer<QWindow>> pressedIn_;  // by the key's scan code; a closed window is null
};

}  // namespace

void KeepKeyReleasesWithTheirPresses() {
    static ReleaseFilter filter;
    QCoreApplication::instance()->installEventFilter(&filter);
}

}  // namespace platform
