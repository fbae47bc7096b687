#pragma once
// The program's error log on the ErrorLog setting of gSettings.

#include <QString>

namespace config {

// Appends message to the log named by the ErrorLog setting and ends the
// program when endProgram is set (see AppendToErrorLog). An empty setting is
// first set to ZORScr.Log beside the program, and keeps that path.
void LogError(const QString& message, bool endProgram);

// Ends a start that cannot go on (no display, a collection that cannot be
// read or written back): says why on standard error and in the log, then
// ends the program with vb::kCouldNotShow.
[[noreturn]] void EndCannotShow(const QString& message);

// "The collection <file> cannot be shown: it <problem>".
QString CollectionProblem(const QString& file, const QString& problem);

}  // namespace config
