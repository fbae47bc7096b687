#pragma once
// A key's release is input only to the window its press went to. The
// release of a key pressed in a dialog that has closed since (Escape on the
// password check) would otherwise reach the window under it as a key of its
// own; so would a key pressed before the program had the keyboard.

namespace platform {

// From now on, for the whole application: a release that reaches another
// top-level window than its press, or whose press no window of ours had, is
// dropped. Judged on the system's events only (events a test sends to a
// widget pass). Call once, on the GUI thread, after the application exists.
void KeepKeyReleasesWithTheirPresses();

}  // namespace platform
