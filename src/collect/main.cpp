#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "collect/Commands.h"

using namespace collect;

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);  // Qt's text codecs and collation need one
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.toLocal8Bit() != argv[i]) {
            std::fprintf(stderr, "ZORCollect: argument %d is not valid text in this system's encoding\n", i);
            return kExitBadInput;
        }
        arguments << argument;
    }
    QTextStream out(stdout), err(stderr);
    return RunCollect(arguments, out, err, ::isatty(STDERR_FILENO) != 0);
}
