#include <QString>
#include <QStringList>

#include "platform/ui/Application.h"
#include "startup/SubMain.h"

int main(int argc, char* argv[]) {
    const auto application = platform::StartApplication(argc, argv);
    // The host passes the switches as separate arguments; the program reads
    // them as the one command line a screensaver gets.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    Main(arguments.join(u' '));
}
