#pragma once
// The program-wide state through which the windows, events and timers and the
// show loop cooperate. Windows and handlers only raise the flags, through the
// requests below; the show loop reads them at its next check and clears them.
//
// Thread: all of it lives on the GUI thread. Nothing here is touched from
// another thread: the termination signals end the process from their own
// watcher thread without reading or writing it, and the idle mode's parent
// process waits on signals in a process of its own.
//
// The single instances live with their types: gMovies and gSettings in
// config/Instances.h, the windows in show/FormInstances.h.
//
// Who writes and reads what (the show loop is show/RunShow.cpp):
//
// flag             | set by                               | cleared by                 | read by
// -----------------+--------------------------------------+----------------------------+-------------------------------
// gRunMode         | startup/SubMain (switch), show loop  | ResetRunState only         | RunningShow(), InPreview()
// gIniFileName     | startup/SubMain (NameProgramIni)     | ResetRunState only         | config/Initialise
// gExitOnMouseMove | startup/SubMain (preview), config    | config/Initialise (rule)   | show/ShowInput
//                  | /Initialise (the collection's rule)  |                            |
// gNoRemote        | config/Initialise (rule)             | config/Initialise (rule)   | show/ShowInput, PlayerEvents
// gSecureMode      | config/Initialise (rule)             | ResetRunState only         | password/frmpwd
// gPassword        | password/PasswordStore, frmLogin     | startup/SubMain (/A),      | password/frmpwd, PasswordStore
//                  |                                      | PasswordStore              |
// gUsePassword     | password/PasswordStore               | password/PasswordStore     | password/PasswordExit
// gPlayPos         | show loop; remote's quit (Label1)    | -                          | show loop, tests
// gCurrentIndex    | show loop                            | -                          | show/frmCover, PlayerEvents,
//                  |                                      |                            | HostedShow, ResumePlace;
//                  |                                      |                            | remote/Transport
// gNavPos          | remote's previous entry, web page's  | -                          | remote/Transport
//                  | quit (nothing advances it)           |                            |
// gHoldRepeat      | remote/Transport (repeat on)         | remote/Transport           | show/PlayerEvents, remote
// gEntryDone       | FinishEntry, SkipToNextEntry,        | show loop, KeepShowGoing   | show loop
//                  | StopShow                             |                            |
// gStopRequest     | StopEntry, SkipToNextEntry, StopShow,| ForgetStopRequest (show    | show loop; show/frmCover's
//                  | PutBackStopRequest                   | loop, window's load step), | key handling
//                  |                                      | KeepShowGoing              |
// gQuit            | StopShow                             | show loop, KeepShowGoing   | show loop
// gWebAddress      | show loop (web entry), startup       | ResetRunState only         | web/frmZORWeb's load step
//                  | /SubMain (preview)                   |                            |
// gEntriesStarted  | show loop (counts up)                | ResetRunState only         | show/frmCover's key handling
// gHostWindow      | startup/SubMain (MainInHost)         | ResetRunState only         | Hosted(), show/HostedShow
// gDriveTotalKB,   | sysinfo/System (DriveInfo)           | ResetRunState only         | facts
// gDriveFreeKB     |                                      |                            |

#include <QString>

namespace state {

// gRunMode's values (0 until the start-up has decided).
constexpr qint16 kRunModeShow = 2;     // a full-screen show
constexpr qint16 kRunModePreview = 3;  // inside the preview window

extern qint16 gRunMode;
extern QString gIniFileName;       // program INI file name, without folder
extern bool gExitOnMouseMove;
extern bool gNoRemote;
extern bool gSecureMode;
extern QString gPassword;
extern bool gUsePassword;
extern qint16 gPlayPos;       // the collection position the show loop plays (1-based)
extern qint16 gCurrentIndex;  // the entry playing (1-based)
extern qint16 gNavPos;
extern bool gHoldRepeat;      // the remote holds the entry playing on repeat
extern bool gEntryDone;       // the entry is over: the loop moves on
extern bool gStopRequest;     // the entry is abandoned: the loop moves on
extern bool gQuit;            // the show ends at the loop's next check
extern QString gWebAddress;
// How many entries the show loop has started: the events of one key press
// may end one entry only, not the next one too.
extern quint32 gEntriesStarted;
// The X window of another program the show draws into (a screensaver host's),
// 0 when the show has windows of its own. Input and locking are the host's.
extern unsigned long gHostWindow;
// The last drive System.DriveInfo looked at, in kilobytes (0 when it failed).
extern double gDriveTotalKB;
extern double gDriveFreeKB;

inline bool RunningShow() { return gRunMode == kRunModeShow; }
inline bool InPreview() { return gRunMode == kRunModePreview; }
inline bool Hosted() { return gHostWindow != 0; }

// The requests of input and the windows to the show loop. Each takes effect at
// the loop's next check; none waits.

// The entry playing has played out (end of stream, still timer, page closed).
void FinishEntry();
// Abandons the entry playing: a click or key on the show window.
void StopEntry();
// Ends the entry playing at once and goes on to the next one.
void SkipToNextEntry();
// Ends the show: the loop ends the program at its next check.
void StopShow();
// Takes back every request: a refused password leaves the show as it was.
void KeepShowGoing();
// Puts the stop request back as it was before a handler ran, when the press
// that raised it belonged to an entry already over.
void PutBackStopRequest(bool before);
// The stop request is served, or older than the entry starting now.
void ForgetStopRequest();

// Back to the values of a program that has just started (for tests).
void ResetRunState();

}  // namespace state
