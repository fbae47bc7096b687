#pragma once
// The show inside a window of another program (gHostWindow, a screensaver
// host's): the show loop's rules, in windows that fill the host window and
// follow its size. Input and locking are the host's; the host ends the
// program with a signal.

class QWidget;

namespace show {

// Runs the show in the host window; never returns. The program ends quietly
// when the host window goes away.
[[noreturn]] void RunHostedShow();

// Puts a window the show has just made into the host window, filling it.
void PlaceInHost(QWidget& window);

}  // namespace show
