// Opens the web page window as a show would, for the end-to-end tests:
//   WebWindowDriver <run mode> <display time> <entries> <address>
// shows frmZORWeb modally on the address, then prints a line
//   <caption>|<show buttons left visible>|<gEntryDone gQuit gStopRequest gNavPos>|<DelayTimer>
// and one with the seconds the window stayed.

#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>

#include "config/Instances.h"
#include "platform/ui/Application.h"
#include "platform/ui/ModalShow.h"
#include "state/RunState.h"
#include "web/frmZORWeb.h"

int main(int argc, char* argv[]) {
    const auto application = platform::StartApplication(argc, argv);
    if (argc != 5) return 2;
    gRunMode = QByteArray(argv[1]).toShort();
    gSettings().LetDelayTimer(QByteArray(argv[2]).toShort());
    for (int i = QByteArray(argv[3]).toInt(); i > 0; --i) gMovies().Add(Movie());
    gWebAddress = QString::fromLocal8Bit(argv[4]);
    QElapsedTimer shown;
    shown.start();
    frmZORWeb window;
    platform::ShowModal(window);
    QStringList buttons;
    for (const QPushButton* b : {window.Cmd_AddURL, window.Cmd_ContShow, window.Command2})
        if (!b->isHidden()) buttons << b->text();
    std::printf("%s|%s|%d %d %d %d|%d\n%.1f\n", qUtf8Printable(window.windowTitle()), qUtf8Printable(buttons.join(',')),
                gEntryDone, gQuit, gStopRequest, gNavPos, gSettings().DelayTimer(), shown.elapsed() / 1000.0);
    return 0;
}
