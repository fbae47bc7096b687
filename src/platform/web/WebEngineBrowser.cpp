// The browser engine on Qt WebEngine, built as a plugin of its own
// (plugins/libzorweb.so beside the program) that the program loads only when a
// collection shows web pages: linking WebEngine into the program cost every
// start a tenth of a second or more (BrowserPlugin.cpp).

#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include "platform/web/BrowserEngine.h"
#include "platform/web/GuardedPage.h"

namespace platform {

class WebEngineBrowser final : public BrowserEngine {
public:
    WebEngineBrowser(QString base, QString home)
        : base_(std::move(base)), home_(std::move(home)), view_(std::make_unique<QWebEngineView>()),
          page_(new GuardedPage(view_.get())) {
        view_->setPage(page_);
        view_->setContextMenuPolicy(Qt::NoContextMenu);  // its entries open windows and save files
        QObject::connect(page_, &QWebEnginePage::loadingChanged, page_,
                         [this](const QWebEngineLoadingInfo& info) { LoadingChanged(info); });
        // An address reached inside the page (an anchor, history.pushState)
        // arrives without a load.
        QObject::connect(page_, &QWebEnginePage::urlChanged, page_, [this](const QUrl&) {
            if (!busy_ && NavigateComplete2) NavigateComplete2(LocationURL());
        });
        QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, page_,
                         [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                             if (status == QWebEnginePage::NormalTerminationStatus || !PageFailed) return;
                             PageFailed(LocationURL(),
                                        QStringLiteral("its page process ended (%1, exit code %2)")
                                            .arg(QStringView(kTerminations[status]), QString::number(exitCode)));
                         });
    }

    ~WebEngineBrowser() override { page_->disconnect(); }

    QWidget& View() override { return *view_; }

    void Navigate(const QString& address) override {
        Load(QUrl::fromUserInput(address, base_, QUrl::AssumeLocalFile));
    }
    void GoBack() override { Trigger(QWebEnginePage::Back, page_->history()->canGoBack()); }
    void GoForward() override { Trigger(QWebEnginePage::Forward, page_->history()->canGoForward()); }
    void GoHome() override { Load(QUrl::fromLocalFile(home_)); }
    void GoSearch() override { Load(QUrl(QStringLiteral("about:blank"))); }
    void Refresh() override { Trigger(QWebEnginePage::Reload, !page_->url().isEmpty()); }
    void Stop() override { page_->triggerAction(QWebEnginePage::Stop); }
    QString LocationName() const override { return page_->title(); }
    QString LocationURL() const override {
        return refused_.isEmpty() || page_->url().scheme() != u"data" ? page_->url().toString() : refused_;
    }
    bool Busy() const override { return busy_; }

private:
    // Busy from the request on: the browser reports the start of a load
    // only some milliseconds later. A request that cannot start a load
    // (an address that is no address, no page to go back to) is not made.
    void Load(const QUrl& url) {
        if (!url.isValid()) return;
        busy_ = true;
        if (GuardedPage::Showable(url)) {
            refused_.clear();
            page_->load(url);
            return;
        }
        refused_ = url.toString();
        if (PageFailed) PageFailed(refused_, QStringLiteral("it is not a web page, a file or about:blank"));
        page_->setHtml(QStringLiteral("<title>Not shown</title><p style=\"font: 20px sans-serif\">This address is "
                                      "not a web page or a file and is not shown: %1</p>")
                           .arg(refused_.toHtmlEscaped()));
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

    static constexpr const char16_t* kTerminations[] = {u"normal", u"abnormal", u"crashed", u"killed"};

    const QString base_, home_;  // where relative addresses start; the Home page
    QString refused_;            // the address last refused, while its notice shows
    std::unique_ptr<QWebEngineView> view_;
    GuardedPage* page_;  // owned by the view
    bool busy_ = false;
};

}  // namespace platform

// The plugin's one entry point (BrowserPlugin.h).
extern "C" Q_DECL_EXPORT platform::BrowserEngine* ZorNewWebEngineBrowser(const QString& base, const QString& home) {
    return new platform::WebEngineBrowser(base, home);
}
