#include "platform/web/GuardedPage.h"

#include <QAuthenticator>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

#include "platform/web/WebProfile.h"

namespace platform {

GuardedPage::GuardedPage(QObject* parent) : QWebEnginePage(&WebProfile(), parent) {
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    // An empty authenticator cancels the sign-in.
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator, const QString&) { *authenticator = QAuthenticator(); });
}

bool GuardedPage::Showable(const QUrl& url) {
    static const QStringList kSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                                         QStringLiteral("data")};
    const QString scheme = url.scheme().toLower();
    return kSchemes.contains(scheme) || (scheme == u"about" && url.path() == u"blank");
}

// Frames inside a page keep what the browser allows them (about:srcdoc,
// blob:); the page itself goes only where it may.
bool GuardedPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return !isMainFrame || Showable(url);
}

QWebEnginePage* GuardedPage::createWindow(WebWindowType) { return nullptr; }

QStringList GuardedPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) { return {}; }

void GuardedPage::javaScriptAlert(const QUrl&, const QString&) {}

bool GuardedPage::javaScriptConfirm(const QUrl&, const QString&) { return false; }

bool GuardedPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) { return false; }

// Pages' console output would only fill the program's standard error.
void GuardedPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {}

}  // namespace platform
