#include "state/RunState.h"

namespace state {

// Static storage starts zeroed: false, 0 and empty, the values ResetRunState
// puts back.
qint16 gRunMode;
QString gIniFileName;
bool gExitOnMouseMove;
bool gNoRemote;
bool gSecureMode;
QString gPassword;
bool gUsePassword;
qint16 gPlayPos;
qint16 gCurrentIndex;
qint16 gNavPos;
bool gHoldRepeat;
bool gEntryDone;
bool gStopRequest;
bool gQuit;
QString gWebAddress;
quint32 gEntriesStarted;
unsigned long gHostWindow;
double gDriveTotalKB;
double gDriveFreeKB;

void ResetRunState() {
    gRunMode = 0;
    gIniFileName.clear();
    gExitOnMouseMove = gNoRemote = gSecureMode = gUsePassword = false;
    gPassword.clear();
    gPlayPos = gCurrentIndex = gNavPos = 0;
    gHoldRepeat = gEntryDone = gStopRequest = gQuit = false;
    gWebAddress.clear();
    gEntriesStarted = 0;
    gHostWindow = 0;
    gDriveTotalKB = gDriveFreeKB = 0;
}

void FinishEntry() { gEntryDone = true; }

void StopEntry() { gStopRequest = true; }

void SkipToNextEntry() { gEntryDone = gStopRequest = true; }

void StopShow() { gQuit = gStopRequest = gEntryDone = true; }

void KeepShowGoing() { gQuit = gStopRequest = gEntryDone = false; }

void PutBackStopRequest(bool before) { gStopRequest = before; }

void ForgetStopRequest() { gStopRequest = false; }

}  // namespace state
