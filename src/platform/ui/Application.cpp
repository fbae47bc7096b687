#include "platform/ui/Application.h"

#include "platform/web/WebEngineSetup.h"

namespace platform {

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (showsPages) PrepareWebEngine();
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace platform
