#pragma once
// The Qt application every window of the program lives in.

#include <QApplication>
#include <memory>

namespace platform {

// Makes the application, with the browser engine prepared when pages may be
// shown. Without any display to reach (no DISPLAY or WAYLAND_DISPLAY, no
// QT_QPA_PLATFORM) it runs off screen, so that a start without a desktop
// still reads its collection and writes its log instead of aborting.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, bool showsPages = true);

}  // namespace platform
