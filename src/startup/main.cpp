#include <QString>
#include <QStringList>
#include <cstdio>

#include "platform/system/MemoryUse.h"
#include "platform/system/TerminationSignals.h"
#include "platform/ui/Application.h"
#include "platform/ui/HostWindow.h"
#include "startup/HostArguments.h"
#include "startup/SubMain.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kNoHostWindow = 1;

int Refuse(const QString& reason, int status) {
    std::fprintf(stderr, "ZORScr: %s\n", reason.toLocal8Bit().constData());
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
        std::fputs("ZORScr: the memory allocator refused a limit of its arenas\n", stderr);
    platform::EndOnTerminationSignals();
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    const std::optional<HostArguments> host = ReadHostArguments(arguments, ScreensaverWindow());
    if (!host) {
        // The Windows-style switches come as separate arguments; the program
        // reads them as the one command line a screensaver gets there.
        const QString commandLine = arguments.join(u' ');
        const auto application = platform::StartApplication(argc, argv, StartShowsPages(commandLine));
        Main(commandLine);
    }

    if (!host->error.isEmpty()) return Refuse(host->error, kUsageError);
    // Found before the application opens the display, so that it opens its
    // windows on the host window's screen.
    const platform::HostWindowFacts window = platform::LookUpHostWindow(host->window);
    if (!window.exists)
        return Refuse(host->window ? QStringLiteral("no window 0x%1 on the display").arg(host->window, 0, 16)
                                   : QStringLiteral("no display to show on"),
                      kNoHostWindow);
    qputenv("DISPLAY", platform::DisplayOnScreen(qEnvironmentVariable("DISPLAY"), window.screen).toLocal8Bit());
    const auto application = platform::StartApplication(argc, argv, StartShowsPages(host->collection));
    MainInHost(window.id, host->collection);
}
