#pragma once
// How the program ends when it is asked to by a signal: a screensaver host
// ends its display modes with SIGTERM, a terminal with SIGINT or SIGHUP.

namespace platform {

// From now on SIGTERM, SIGINT and SIGHUP end the program at once, from
// whatever it is doing (start-up included): every process it started (the
// browser's helpers) is killed first, nothing is written, and the program
// dies of the signal, as its parent expects. Call once, early in main.
void EndOnTerminationSignals();

}  // namespace platform
