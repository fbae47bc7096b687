#pragma once
// A Wayland compositor may keep a window that opens while another is full
// screen behind it (sway does, unless the full-screen window is its
// parent), and a client cannot raise its own windows there. The remote
// control, the password check and the message boxes would then wait,
// unseen, behind the show. So on Wayland each such window gets the
// full-screen window as its parent as it is shown.

namespace platform {

// From now on, for the whole application: a top-level widget shown without
// a parent window while a window of ours is full screen gets that one (the
// one with the keyboard, if full screen) as its parent. Nothing changes on
// other platforms. Call once, on the GUI thread, after the application exists.
void KeepDialogsOverFullScreenWindows();

}  // namespace platform
