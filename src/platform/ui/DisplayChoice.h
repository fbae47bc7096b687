#pragma once
// Which of Qt's platforms the program opens its windows through, decided
// before the application is made: Qt aborts on a platform it cannot start.
//
// A platform the user names in QT_QPA_PLATFORM is used as named, once its
// plugin is installed and its display can be reached. Otherwise a Wayland
// display (WAYLAND_DISPLAY or WAYLAND_SOCKET) is used natively when Qt's
// Wayland plugin is installed, also when an X server (XWayland) is there
// as well; else the X display (DISPLAY). Starts that draw into another
// program's window need its X11 window id, so they take the X display only.

#include <QString>

namespace platform {

struct DisplayChoice {
    QString platform;  // Qt's platform name to use; empty: the one QT_QPA_PLATFORM names
    QString problem;   // why no display can be shown on; empty when one can
    // The problem is the start's, not the system's: it draws into an X11
    // window and the session has only a Wayland display.
    bool needsX11 = false;
};

// drawsIntoX11Window: the start names another program's X11 window.
// ZORSCR_MPV_HEADLESS=1 runs off screen when no display is usable.
DisplayChoice ChooseDisplay(bool drawsIntoX11Window);

// Makes the application use the platform chosen (sets QT_QPA_PLATFORM,
// which child processes inherit alike).
void UseDisplay(const DisplayChoice& choice);

}  // namespace platform
