#pragma once
// A web page that renders and runs its scripts and does nothing else: no
// permissions, pop-ups, new windows, dialogs, file pickers or sign-in
// prompts. Nobody may be asked anything while a screensaver runs.

#include <QWebEnginePage>

namespace platform {

class GuardedPage : public QWebEnginePage {
public:
    explicit GuardedPage(QObject* parent);

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;
};

}  // namespace platform
