#include "platform/ui/ModalShow.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace platform {
namespace {

// Ends the nested loop when the window goes away. A minimised window also
// gets a hide event but is still visible, so that one does not count.
class EndOnHide : public QObject {
public:
    EndOnHide(QWidget& window, QEventLoop& loop) : window_(window), loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ &&
            (event->type() == QEvent::Close || (event->type() == QEvent::Hide && !window_.isVisible())))
            loop_.quit();
        return false;
    }

private:
    QWidget& window_;
    QEventLoop& loop_;
};

std::function<void(QWidget&)> modalHook;

}  // namespace

void ShowActive(QWidget& window) {
    window.show();
    window.raise();  // with no window manager, a window made earlier would stay under later ones
    window.activateWindow();
}

void ShowModal(QWidget& window) {
    if (modalHook) {
        modalHook(window);
        return;
    }
    QEventLoop loop;
    EndOnHide filter(window, loop);
    const QPointer<QWidget> alive(&window);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.installEventFilter(&filter);
    const Qt::WindowModality modality = window.windowModality();
    window.setWindowModality(Qt::ApplicationModal);
    ShowActive(window);
    if (window.isVisible()) loop.exec();
    if (!alive) return;
    window.removeEventFilter(&filter);
    // Modal only for this showing: a later modeless Show must not block the other windows.
    if (!window.isVisible()) window.setWindowModality(modality);
}

std::function<void(QWidget&)> SetModalShowHook(std::function<void(QWidget&)> hook) {
    return std::exchange(modalHook, std::move(hook));
}

}  // namespace platform
