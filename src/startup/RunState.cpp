#include "startup/RunState.h"

#include <memory>

#include "config/MovieCollection.h"
#include "config/ZOR2.h"

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

namespace {
std::unique_ptr<MovieCollection> movies;
std::unique_ptr<ZOR2> settings;
}  // namespace

MovieCollection& gMovies() {
    if (!movies) movies = std::make_unique<MovieCollection>();
    return *movies;
}

ZOR2& gSettings() {
    if (!settings) settings = std::make_unique<ZOR2>();
    return *settings;
}

void ResetRunState() {
    gRunMode = 0;
    gIniFileName.clear();
    gExitOnMouseMove = gNoRemote = gSecureMode = gUsePassword = false;
    gPassword.clear();
    gPlayPos = gCurrentIndex = gNavPos = 0;
    gHoldRepeat = gEntryDone = gStopRequest = gQuit = false;
    gWebAddress.clear();
    movies.reset();
    settings.reset();
}
