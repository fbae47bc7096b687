#pragma once
// The program's error log on the ErrorLog setting of gSettings.

#include <QString>

// Appends message to the log named by the ErrorLog setting and ends the
// program when endProgram is set (see AppendToErrorLog). An empty setting is
// first set to ZORScr.Log beside the program, and keeps that path.
void LogError(const QString& message, bool endProgram);
