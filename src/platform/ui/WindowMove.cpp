#include "platform/ui/WindowMove.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

class FollowPointer : public QObject {
public:
    explicit FollowPointer(QWidget& window)
        : QObject(&window), window_(window), start_(QCursor::pos()), origin_(window.pos()) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            window_.move(origin_ + (move->globalPosition().toPoint() - start_));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            deleteLater();
            window_.removeEventFilter(this);
            return true;
        }
        return false;
    }

private:
    QWidget& window_;
    QPoint start_;
    QPoint origin_;
};

}  // namespace

void StartWindowMove(QWidget& window) {
    if (QWindow* handle = window.windowHandle(); handle && handle->startSystemMove()) return;
    new FollowPointer(window);  // the press already holds the pointer for this window
}

}  // namespace platform
