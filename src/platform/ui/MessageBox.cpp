#include "platform/ui/MessageBox.h"

#include <QMessageBox>
#include <QTimer>
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

void MsgBoxNoWait(const QString& text, const QString& title) {
    if (messageHook) {
        messageHook(text, title);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QTimer::singleShot(0, box, [box] {
        box->show();
        box->raise();
        box->activateWindow();
    });
}

std::function<void(const QString&, const QString&)> SetMessageBoxHook(
    std::function<void(const QString&, const QString&)> hook) {
    return std::exchange(messageHook, std::move(hook));
}

}  // namespace platform
