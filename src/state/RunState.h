#pragma once
// The program-wide state through which the windows, events and timers and the
// show loop cooperate. Windows and handlers only raise the flags; the show
// loop reads them at its next check. Everything here lives on the GUI thread.
//
// The single instances live with their types: gMovies and gSettings in
// config/Instances.h, the windows in show/FormInstances.h.

#include <QString>

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
extern qint16 gPlayPos;
extern qint16 gCurrentIndex;
extern qint16 gNavPos;
extern bool gHoldRepeat;
extern bool gEntryDone;
extern bool gStopRequest;
extern bool gQuit;
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

// Back to the values of a program that has just started (for tests).
void ResetRunState();
