#include "platform/ui/MessageBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>
#include <memory>
#include <utility>

namespace platform {
namespace {
std::function<void(const QString&, const QString&)> messageHook;

// The box both kinds show. Ctrl+C copies title and text, as a Windows message
// box does: what a box says can be passed on whole.
QMessageBox* NewBox(const QString& text, const QString& title) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    new QShortcut(QKeySequence::Copy, box, [title, text] { QGuiApplication::clipboard()->setText(title + u'\n' + text); });
    return box;
}

}  // namespace

void MsgBox(const QString& text, const QString& title) {
    if (messageHook) {
        messageHook(text, title);
        return;
    }
    const std::unique_ptr<QMessageBox> box(NewBox(text, title));
    box->exec();
}

void MsgBoxNoWait(const QString& text, const QString& title) {
    if (messageHook) {
        messageHook(text, title);
        return;
    }
    QMessageBox* box = NewBox(text, title);
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
