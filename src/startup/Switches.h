#pragma once
// The switches of a Linux command besides the run modes: help, version,
// setup, the show switches (ShowSwitches), and the options xscreensaver
// hands every display mode. They are
// read before anything opens the display, so that none of them needs one
// and none is taken for a collection. Reading stops at "--".

#include <QString>
#include <QStringList>

#include "state/ShowOptions.h"

namespace startup {

struct Switches {
    enum class Action { Run, Help, Version, Setup, UsageError };
    Action action = Action::Run;
    QString value;     // Setup: the target named; UsageError: why the command line cannot be read
    QStringList rest;  // Run: the arguments for the run modes, the ignored options taken out
    state::ShowOptions options;  // Run: as the show switches (ShowSwitches) chose
};

// The first of help, version, setup or an unknown "--switch" decides;
// without one the action is Run.
Switches ReadSwitches(const QStringList& arguments);

// Does an action other than Run: prints to standard output (help, version,
// setup) or standard error (a usage error, a failed setup). The exit status.
int RunSwitchAction(const Switches& switches);

}  // namespace startup
