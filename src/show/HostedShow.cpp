#include "show/HostedShow.h"

#include <QGuiApplication>
#include <QSize>
#include <QWidget>

#include "config/LogError.h"
#include "platform/ui/ForeignWindow.h"
#include "platform/ui/HostWindow.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "show/RunShow.h"
#include "show/ScreenCovers.h"
#include "state/RunState.h"
#include "state/ShowOptions.h"

using namespace state;
using namespace config;

namespace show {

namespace {

QSize hostSize;  // pixels

void FollowHost(int width, int height) {
    hostSize = QSize(width, height);
    platform::UseWindowAsScreen(width, height);
    PlaceShowIn(QRect(0, 0, width, height));
}

// A host such as xscreensaver starts a copy of the program in a window on
// each monitor: with a shuffled order or a show on each monitor, the copy on
// monitor k starts k entries on, so that the copies do not show the same
// entries together.
int HostOffset() {
    const ShowOptions& options = TheShowOptions();
    if (!options.shuffle && options.monitors != ShowOptions::Monitors::Each) return 0;
    const std::optional<QPoint> centre = platform::ForeignWindowCentre(gHostWindow);
    return centre ? MonitorNumber(QGuiApplication::screenAt(*centre)) : 0;
}

}  // namespace

void PlaceInHost(QWidget& window) {
    platform::ParentIntoForeignWindow(window, gHostWindow, hostSize.width(), hostSize.height());
}

void RunHostedShow() {
    const platform::ClientRect client = platform::GetClientRect(gHostWindow);
    hostSize = QSize(client.right, client.bottom);
    platform::UseWindowAsScreen(hostSize.width(), hostSize.height());
    platform::LeaveInputToHost();
    // Nobody could see or close a message box behind the host's window:
    // what it would say goes to the error log.
    platform::SetMessageBoxHook([](const QString& text, const QString& title) {
        LogError(title + QStringLiteral(": ") + text, false);
    });
    static platform::HostWindowWatch watch(gHostWindow);
    watch.Resized = [](int width, int height) { vb::ResumeNext([&] { FollowHost(width, height); }); };
    watch.Gone = [] { vb::EndProgram(); };
    RunShow(HostOffset());
    vb::EndProgram();
}

}  // namespace show
