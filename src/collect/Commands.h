#pragma once
// The collection maker's commands: new, add, list, move, remove, check.
// Listings go to out; messages, the progress bar and summaries to err,
// each naming the file and the reason. The result is the exit code.

#include <QStringList>
#include <QTextStream>

namespace collect {

constexpr int kExitDone = 0;
constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

// terminal: err is a terminal, which gets a progress bar for long adds.
int RunCollect(const QStringList& arguments, QTextStream& out, QTextStream& err, bool terminal);

}  // namespace collect
