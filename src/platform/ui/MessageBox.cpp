#include "platform/ui/MessageBox.h"

#include <QMessageBox>
#include <utility>

namespace platform {
namespace {
std::function<void(const QString&, const QString&)> messageHook;
}

void MsgBox(const QString& text, const QString& title) {
    if (messageHook) {
        messageHook(text, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.exec();
}

std::function<void(const QString&, const QString&)> SetMessageBoxHook(
    std::function<void(const QString&, const QString&)> hook) {
    return std::exchange(messageHook, std::move(hook));
}

}  // namespace platform
