// NewWebEngineBrowser: the real browser comes from plugins/libzorweb.so
// beside the program, loaded on first use, so that a show without web pages never
// loads Qt WebEngine (see WebEngineBrowser.cpp).

#include <QLibrary>

#include "platform/system/ProgramInfo.h"
#include "platform/vb/VbError.h"
#include "platform/web/BrowserEngine.h"
#include "platform/web/HelpPage.h"
#include "platform/web/WebEngineSetup.h"

namespace platform {
namespace {

using Factory = BrowserEngine* (*)(const QString& base, const QString& home);

[[noreturn]] void CannotCreate(const QString& reason) {
    throw vb::VbError(vb::ErrNum::CantCreateObject, QStringLiteral("web browser: ") + reason);
}

Factory LoadFactory() {
    static QLibrary plugin(JoinPath(ProgramDirectory(), QStringLiteral("plugins/libzorweb.so")));
    if (!plugin.isLoaded() && !plugin.load()) CannotCreate(plugin.errorString());
    const auto factory = reinterpret_cast<Factory>(plugin.resolve("ZorNewWebEngineBrowser"));
    if (!factory) CannotCreate(plugin.errorString());
    return factory;
}

}  // namespace

std::unique_ptr<BrowserEngine> NewWebEngineBrowser() {
    if (!WebEnginePrepared()) CannotCreate(QStringLiteral("the program was started without it"));
    return std::unique_ptr<BrowserEngine>(LoadFactory()(ProgramDirectory(), HelpPagePath()));
}

}  // namespace platform
