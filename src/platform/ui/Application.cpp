#include "platform/ui/Application.h"

#include <X11/Xlib.h>

#include "platform/ui/KeyReleases.h"
#include "platform/vb/EndProgram.h"
#include "platform/web/WebEngineSetup.h"

namespace platform {
namespace {

bool NeedsNoDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           qEnvironmentVariable("ZORSCR_MPV_HEADLESS") == QLatin1String("1");
}

}  // namespace

QString DisplayProblem() {
    if (NeedsNoDisplay()) return {};
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty()) return QStringLiteral("no display to show on (DISPLAY is not set)");
    Display* display = XOpenDisplay(name.constData());
    if (!display) return QStringLiteral("cannot open the display \"%1\"").arg(QString::fromLocal8Bit(name));
    XCloseDisplay(display);
    return {};
}

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages) {
    if (NeedsNoDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (showsPages) PrepareWebEngine();
    auto application = std::make_unique<QApplication>(argc, argv);
    // Qt leaves with exit(1) when the display connection breaks.
    vb::RouteExitThroughEndProgram();
    KeepKeyReleasesWithTheirPresses();
    return application;
}

}  // namespace platform
