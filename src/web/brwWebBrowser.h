#pragma once
// The page window's browser control: the browser's operations and events by
// the control's names, placed in its window in twips.

#include <QString>
#include <functional>
#include <memory>

#include "platform/ui/Twips.h"
#include "platform/web/BrowserEngine.h"

class QWidget;

namespace web {

class brwWebBrowser {
public:
    brwWebBrowser(QWidget& container, std::unique_ptr<platform::BrowserEngine> engine);

    void Navigate(const QString& address) { engine_->Navigate(address); }
    void GoBack() { engine_->GoBack(); }
    void GoForward() { engine_->GoForward(); }
    void GoHome() { engine_->GoHome(); }
    void GoSearch() { engine_->GoSearch(); }
    void Refresh() { engine_->Refresh(); }
    void Stop() { engine_->Stop(); }
    QString LocationName() const { return engine_->LocationName(); }
    QString LocationURL() const { return engine_->LocationURL(); }
    bool Busy() const { return engine_->Busy(); }

    platform::TwipsRect Geometry() const;
    void SetGeometry(const platform::TwipsRect& rect);

    // The control's events; the window sets its handlers here.
    std::function<void()>& DownloadComplete() { return engine_->DownloadComplete; }
    std::function<void(const QString& address)>& NavigateComplete2() { return engine_->NavigateComplete2; }
    std::function<void(const QString& address, const QString& why)>& PageFailed() { return engine_->PageFailed; }

private:
    std::unique_ptr<platform::BrowserEngine> engine_;
};

}  // namespace web
