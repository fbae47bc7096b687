#pragma once
// A web page that renders and runs its scripts and does nothing else: no
// permissions, pop-ups, new windows, dialogs, file pickers or sign-in
// prompts. Nobody may be asked anything while a screensaver runs.

#include <QWebEnginePage>

namespace platform {

class GuardedPage : public QWebEnginePage {
public:
    explicit GuardedPage(QObject* parent);

    // Whether the page may go to an address: web pages (http, https), local
    // files (file), inline pages (data) and the empty page (about:blank).
    // Other schemes reach the browser's own pages, some of which crash the
    // browser on purpose (and with it the program, which runs its GPU
    // thread), or hand the address to another program (mailto:).
    static bool Showable(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
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
