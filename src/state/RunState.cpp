#include "state/RunState.h"

qint16 gRunMode = 0;
QString gIniFileName;
bool gExitOnMouseMove = false;
bool gNoRemote = false;
bool gSecureMode = false;
QString gPassword;
bool gUsePassword = false;
qint16 gPlayPos = 0;
qint16 gCurrentIndex = 0;
qint16 gNavPos = 0;
bool gHoldRepeat = false;
bool gEntryDone = false;
bool gStopRequest = false;
bool gQuit = false;
QString gWebAddress;

void ResetRunState() {
    gRunMode = 0;
    gIniFileName.clear();
    gExitOnMouseMove = gNoRemote = gSecureMode = gUsePassword = false;
    gPassword.clear();
    gPlayPos = gCurrentIndex = gNavPos = 0;
    gHoldRepeat = gEntryDone = gStopRequest = gQuit = false;
    gWebAddress.clear();
}
