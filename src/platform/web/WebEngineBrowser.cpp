// The browser engine on Qt WebEngine.

#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include "platform/system/ProgramInfo.h"
#include "platform/web/BrowserEngine.h"
#include "platform/web/GuardedPage.h"
#include "platform/web/HelpPage.h"

namespace platform {
namespace {

class WebEngineBrowser final : public BrowserEngine {
public:
    WebEngineBrowser() : view_(std::make_unique<QWebEngineView>()), page_(new GuardedPage(view_.get())) {
        view_->setPage(page_);
        view_->setContextMenuPolicy(Qt::NoContextMenu);  // its entries open windows and save files
        QObject::connect(page_, &QWebEnginePage::loadingChanged, page_,
                         [this](const QWebEngineLoadingInfo& info) { LoadingChanged(info); });
        // An address reached inside the page (an anchor, history.pushState)
        // arrives without a load.
        QObject::connect(page_, &QWebEnginePage::urlChanged, page_, [this](const QUrl& url) {
            if (!busy_ && NavigateComplete2) NavigateComplete2(url.toString());
        });
    }

    ~WebEngineBrowser() override { page_->disconnect(); }

    QWidget& View() override { return *view_; }

    void Navigate(const QString& address) override {
        Load(QUrl::fromUserInput(address, ProgramDirectory(), QUrl::AssumeLocalFile));
    }
    void GoBack() override { Trigger(QWebEnginePage::Back, page_->history()->canGoBack()); }
    void GoForward() override { Trigger(QWebEnginePage::Forward, page_->history()->canGoForward()); }
    void GoHome() override { Load(QUrl::fromLocalFile(HelpPagePath())); }
    void GoSearch() override { Load(QUrl(QStringLiteral("about:blank"))); }
    void Refresh() override { Trigger(QWebEnginePage::Reload, !page_->url().isEmpty()); }
    void Stop() override { page_->triggerAction(QWebEnginePage::Stop); }
    QString LocationName() const override { return page_->title(); }
    QString LocationURL() const override { return page_->url().toString(); }
    bool Busy() const override { return busy_; }

private:
    // Busy from the request on: the browser reports the start of a load
    // only some milliseconds later. A request that cannot start a load
    // (an address that is no address, no page to go back to) is not made.
    void Load(const QUrl& url) {
        if (!url.isValid()) return;
        busy_ = true;
        page_->load(url);
    }
    void Trigger(QWebEnginePage::WebAction action, bool possible) {
        if (!possible) return;
        busy_ = true;
        page_->triggerAction(action);
    }

    void LoadingChanged(const QWebEngineLoadingInfo& info) {
        busy_ = info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
        if (busy_) return;
        if (info.status() != QWebEngineLoadingInfo::LoadStoppedStatus && NavigateComplete2)
            NavigateComplete2(LocationURL());
        if (DownloadComplete) DownloadComplete();
    }

    std::unique_ptr<QWebEngineView> view_;
    GuardedPage* page_;  // owned by the view
    bool busy_ = false;
};

}  // namespace

std::unique_ptr<BrowserEngine> NewWebEngineBrowser() { return std::make_unique<WebEngineBrowser>(); }

}  // namespace platform
