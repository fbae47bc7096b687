#pragma once
// Qt WebEngine's process-wide set-up.

class QWebEngineProfile;

namespace platform {

// Must run before the QApplication is made: Chromium's switches for this
// machine and the shared OpenGL contexts WebEngine needs.
void PrepareWebEngine();

// The one browser profile of the process: off the record (nothing is kept on
// disk), and every download is refused.
QWebEngineProfile& WebProfile();

}  // namespace platform
