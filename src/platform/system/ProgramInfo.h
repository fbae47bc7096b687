#pragma once
// Where the program lives (VB's App.Path and App.EXEName).

#include <QString>

namespace platform {

// The folder of the running executable, without a trailing "/" (except for "/").
QString ProgramDirectory();
// The executable's file name without folder and extension ("ZORScr").
QString ExecutableName();
// Joins a folder and a name with "/" unless the folder already ends with one.
QString JoinPath(const QString& folder, const QString& name);

// Tests may put the program in another folder (an empty one puts it back).
void SetProgramDirectoryForTesting(const QString& folder);

}  // namespace platform
