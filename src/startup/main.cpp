#include <QString>
#include <QStringList>

#include "errors/ErrorLog.h"
#include "platform/system/MemoryUse.h"
#include "platform/system/TerminationSignals.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChoice.h"
#include "platform/ui/HostWindow.h"
#include "platform/vb/EndProgram.h"
#include "startup/HostArguments.h"
#include "startup/IdleMode.h"
#include "state/ShowOptions.h"
#include "startup/SubMain.h"
#include "startup/Switches.h"

using namespace errors;
using namespace startup;

namespace {

int Refuse(const QString& reason, int status) {
    SayOnStandardError(reason);
    return status;
}

std::optional<QString> ScreensaverWindow() {
    if (!qEnvironmentVariableIsSet("XSCREENSAVER_WINDOW")) return std::nullopt;
    return qEnvironmentVariable("XSCREENSAVER_WINDOW");
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the error log exists: only standard error can tell.
    if (!platform::LimitMallocArenas())
        SayOnStandardError(QStringLiteral("the memory allocator refused a limit of its arenas"));
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // The idle mode takes its signals itself, before any thread could.
    if (const std::optional<IdleArguments> idle = ReadIdleArguments(arguments))
        return idle->error.isEmpty() ? RunIdleMode(*idle) : Refuse(idle->error, vb::kUsageError);
    platform::EndOnTerminationSignals();

    const Switches switches = ReadSwitches(arguments);
    if (switches.action != Switches::Action::Run) return RunSwitchAction(switches);  // none needs a display
    state::SetShowOptions(switches.options);
    const std::optional<HostArguments> host = ReadHostArguments(switches.rest, ScreensaverWindow());
    if (host && !host->error.isEmpty()) return Refuse(host->error, vb::kUsageError);
    // The Windows-style switches come as separate arguments; the program
    // reads them as the one command line a screensaver gets there.
    const QString commandLine = host ? host->collection : switches.rest.join(u' ');
    // A host's window and the preview's are X11 windows, named by their ids.
    const platform::DisplayChoice display =
        platform::ChooseDisplay(host || ReadCommandLine(commandLine).command.startsWith(QStringLiteral("/P")));
    if (display.needsX11) return Refuse(display.problem, vb::kUsageError);
    if (!display.problem.isEmpty()) EndWithoutDisplay(commandLine, display.problem);
    platform::UseDisplay(display);
    const auto cannotStart = [&](const QString& problem) { EndWithoutDisplay(commandLine, problem); };

    if (!host) {
        const auto application =
            platform::StartApplication(argc, argv, StartShowsPages(commandLine), cannotStart);
        Main(commandLine);
    }

    // Found before the application opens the display, so that it opens its
    // windows on the host window's screen.
    const platform::HostWindowFacts window = platform::LookUpHostWindow(host->window);
    if (!window.exists)
        return Refuse(host->window ? QStringLiteral("no window 0x%1 on the display").arg(host->window, 0, 16)
                                   : QStringLiteral("no display to show on"),
                      vb::kCouldNotShow);
    qputenv("DISPLAY", platform::DisplayOnScreen(qEnvironmentVariable("DISPLAY"), window.screen).toLocal8Bit());
    const auto application = platform::StartApplication(argc, argv, StartShowsPages(host->collection), cannotStart);
    MainInHost(window.id, host->collection);
}
