#include "platform/web/WebEngineSetup.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <unistd.h>

namespace platform {

void PrepareWebEngine() {
    // Chromium refuses to start its sandbox as root (the usual case in
    // containers and test machines); an unprivileged user keeps it.
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Pages are drawn in software: a screensaver cannot count on a GPU that
    // Chromium accepts (virtual displays, remote sessions), and a small
    // /dev/shm (containers) must not make the renderer fail. Switches the
    // user sets come after ours and win.
    const QByteArray own = "--disable-gpu --disable-dev-shm-usage";
    const QByteArray user = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", user.isEmpty() ? own : own + ' ' + user);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Its start-up report of the graphics set-up is of no use to anybody here.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

bool WebEnginePrepared() { return QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts); }

}  // namespace platform
