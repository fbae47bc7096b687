#include "platform/web/WebProfile.h"

#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

namespace platform {

QWebEngineProfile& WebProfile() {
    static QWebEngineProfile* const profile = [] {
        auto* p = new QWebEngineProfile(QCoreApplication::instance());  // no name: off the record
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        QObject::connect(p, &QWebEngineProfile::downloadRequested, p,
                         [](QWebEngineDownloadRequest* download) { download->cancel(); });
        return p;
    }();
    return *profile;
}

}  // namespace platform
