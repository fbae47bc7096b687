#pragma once
// The switches that shape the show (--shuffle, --resume, ...), read in every
// run mode: one table gives each its name, its value, what it sets and its
// line of the usage text.

#include <QString>
#include <QStringList>
#include <optional>

#include "state/ShowOptions.h"

namespace startup {

// Reads the show switch at arguments[i], if it is one ("--name", "--name
// VALUE" or "--name=VALUE"): sets it in options and moves i to its last
// argument. Nothing when arguments[i] is no show switch; else the empty
// string when read, or why it cannot be.
std::optional<QString> ReadShowSwitch(const QStringList& arguments, qsizetype& i, state::ShowOptions& options);

// The arguments that give these options again (for a copy of the program).
QStringList ShowSwitchArguments(const state::ShowOptions& options);

// The switches' part of the usage text, a line (or two) each.
QString ShowSwitchUsage();

}  // namespace startup
