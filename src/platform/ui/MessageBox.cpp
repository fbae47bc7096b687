#include "platform/ui/MessageBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>
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
    // Ctrl+C copies title and text, as a Windows message box does: what a
    // box says can be passed on whole.
    const QShortcut copy(QKeySequence::Copy, &box, [&] { QGuiApplication::clipboard()->setText(title + u'\n' + text); });
    box.exec();
}

std::function<void(const QString&, const QString&)> SetMessageBoxHook(
    std::function<void(const QString&, const QString&)> hook) {
    return std::exchange(messageHook, std::move(hook));
}

}  // namespace platform
