#pragma once
// Qt WebEngine's process-wide set-up, made without linking WebEngine.

namespace platform {

// Must run before the QApplication is made, and only when pages may be
// shown (it costs the start a tenth of a second): Chromium's switches for
// this machine and the shared OpenGL contexts WebEngine needs.
void PrepareWebEngine();

// Whether PrepareWebEngine ran before the application was made: WebEngine
// loaded without it would crash.
bool WebEnginePrepared();

}  // namespace platform
