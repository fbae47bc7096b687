#pragma once
// The Qt application every window of the program lives in.

#include <QApplication>
#include <QString>
#include <memory>

namespace platform {

// Why the program has no display to show on: DISPLAY is not set, or its
// server cannot be reached. Empty when it has one, and when a Qt platform
// is chosen by name (QT_QPA_PLATFORM, as the off-screen tests do) or the
// player runs headless (ZORSCR_MPV_HEADLESS=1). Checked before the
// application is made, because Qt aborts on a display it cannot open.
QString DisplayProblem();

// Makes the application, with the browser engine prepared when pages may be
// shown. A headless run without a display runs off screen. From then on a
// broken display connection ends the program with vb::kCouldNotShow.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages = true);

}  // namespace platform
