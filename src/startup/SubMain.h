#pragma once
// The program entry: reads the command line the way a screensaver host calls
// the program, decides the run mode, initialises and starts the show, the
// preview or the password dialog. Every path ends the program.

#include <QString>

namespace startup {

struct CommandLine {
    QString command;         // trimmed, upper case; "/C" when empty or a bare path
    QString collectionPath;  // the collection file named on the command line, or empty
    QString ignoredPath;     // a path named that is passed over for the program INI file, or empty
};

// Steps 2 to 4 of the start: the command and the collection file it names.
CommandLine ReadCommandLine(const QString& commandLine);

// Whether the collection a start with this command line (or a host's
// collection argument) would show has web pages; asked before the
// application is made.
bool StartShowsPages(const QString& commandLine);

[[noreturn]] void Main(const QString& commandLine);

// Ends a start (command line, or a host's collection argument) that has no
// display to show on: says why on standard error and in the log the
// collection names.
[[noreturn]] void EndWithoutDisplay(const QString& commandLine, const QString& problem);

// The show inside another program's window (a screensaver host's), on the
// collection file named (the program INI when none or none that exists).
[[noreturn]] void MainInHost(unsigned long window, const QString& collection);

// Gives the show window the caption "Zorascope" when another copy of the
// program runs, so that a preview started meanwhile stays away.
void SetShowCaption();

// The number formed by the decimal digits at the end of command ("/P 1234"
// and "/P:1234" give 1234). A failure is logged as ERR002 and gives 0.
qint32 ParsePreviewHandle(const QString& command);

}  // namespace startup
