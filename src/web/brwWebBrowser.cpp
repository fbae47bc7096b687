#include "web/brwWebBrowser.h"

#include <QWidget>

namespace web {

brwWebBrowser::brwWebBrowser(QWidget& container, std::unique_ptr<platform::BrowserEngine> engine)
    : engine_(std::move(engine)) {
    engine_->View().setParent(&container);
}

platform::TwipsRect brwWebBrowser::Geometry() const { return platform::Geometry(engine_->View()); }

void brwWebBrowser::SetGeometry(const platform::TwipsRect& rect) { platform::SetGeometry(engine_->View(), rect); }

}  // namespace web
