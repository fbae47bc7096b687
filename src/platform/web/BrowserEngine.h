#pragma once
// The browser behind the page window's brwWebBrowser control: what the
// window needs of a browser, with Qt WebEngine in the program and a scripted
// fake in unit tests.
//
// Callbacks are raised on the GUI thread, mostly from the event loop, but
// also from inside a call that starts or stops a load where the browser
// reports the change at once: a handler must expect to run inside Navigate,
// Stop and the like. A handler must not destroy the engine.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace platform {

class BrowserEngine {
public:
    virtual ~BrowserEngine() = default;

    // The widget the page is drawn in; the control puts it into its window.
    virtual QWidget& View() = 0;

    virtual void Navigate(const QString& address) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;
    virtual QString LocationName() const = 0;  // the page's title
    virtual QString LocationURL() const = 0;   // the page's address
    virtual bool Busy() const = 0;             // true while a page loads

    // Raised when loading has come to an end (finished, failed or stopped).
    std::function<void()> DownloadComplete;
    // Raised when the browser has arrived at an address (also an error page).
    std::function<void(const QString& address)> NavigateComplete2;
    // Raised when a page cannot be shown, with why: an address of a kind
    // the browser does not open (it shows a notice instead, and the address
    // stays its LocationURL), or the page's own process ended abnormally
    // (the page stays blank until the next load starts a new one).
    std::function<void(const QString& address, const QString& why)> PageFailed;
};

// The real browser (Qt WebEngine, from its plugin beside the program). Home
// is the help page beside the program, Search an empty page. Raises
// vb::VbError 429 with the reason when the plugin cannot be loaded or the
// program was started without preparing WebEngine (PrepareWebEngine).
std::unique_ptr<BrowserEngine> NewWebEngineBrowser();

}  // namespace platform
