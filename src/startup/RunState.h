#pragma once
// The program-wide state through which the windows, events and timers and the
// show loop cooperate. Windows and handlers only raise the flags; the show
// loop reads them at its next check.

#include <QString>

class MovieCollection;
class ZOR2;

extern qint16 gRunMode;            // 2: full-screen show, 3: preview
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

// The single instances, created on first use.
MovieCollection& gMovies();
ZOR2& gSettings();

// Back to the state of a program that has just started (for tests).
void ResetRunState();
