#pragma once
// Where the program lives (VB's App.Path and App.EXEName), and where it
// keeps its files.

#include <QString>

namespace platform {

// The folder of the running executable, without a trailing "/" (except for "/").
QString ProgramDirectory();
// The executable's file name without folder and extension ("ZORScr").
QString ExecutableName();
// The user's own folder of this program: $XDG_CONFIG_HOME/ZORScr (by default
// ~/.config/ZORScr), whether it exists or not.
QString UserConfigDirectory();
// Where the program keeps what it remembers between runs for each user (the
// place a show was left, for --resume): $XDG_STATE_HOME/ZORScr (by default
// ~/.local/state/ZORScr), made private to the user on first use. Per user
// for every copy, a build copy's too: what one user watched is not another's.
QString UserStateDirectory();
// Where the program keeps its own files (the program INI, its default error
// log and the fallback log): the program's folder when the user may write
// there and it is not the installed one (/usr/lib/zorscr, root's to write
// but the package's), else the user's own folder, made (private to the
// user) on first use.
QString SettingsDirectory();
// Joins a folder and a name with "/" unless the folder already ends with one.
QString JoinPath(const QString& folder, const QString& name);

// Tests may put the program in another folder (an empty one puts it back).
void SetProgramDirectoryForTesting(const QString& folder);

}  // namespace platform
