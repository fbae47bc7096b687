#include "platform/ui/Application.h"

#include "platform/ui/DialogParent.h"
#include "platform/ui/KeyReleases.h"
#include "platform/vb/EndProgram.h"
#include "platform/web/WebEngineSetup.h"

namespace platform {
namespace {

std::function<void(const QString&)> cannotStartHandler;
QtMessageHandler qtHandler = nullptr;

// Qt's fatal message while it starts its platform becomes the program's own
// end; every other message goes where it went.
void TakeFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && cannotStartHandler)
        cannotStartHandler(QStringLiteral("Qt cannot start its platform \"%1\": %2")
                               .arg(qEnvironmentVariable("QT_QPA_PLATFORM"), message.section(u'\n', 0, 0)));
    if (qtHandler) qtHandler(type, context, message);
}

}  // namespace

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages,
                                               std::function<void(const QString&)> cannotStart) {
    if (showsPages) PrepareWebEngine();
    cannotStartHandler = std::move(cannotStart);
    qtHandler = qInstallMessageHandler(TakeFatalMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    cannotStartHandler = nullptr;
    // Qt leaves with exit(1) when the display connection breaks.
    vb::RouteExitThroughEndProgram();
    KeepKeyReleasesWithTheirPresses();
    KeepDialogsOverFullScreenWindows();
    return application;
}

}  // namespace platform
