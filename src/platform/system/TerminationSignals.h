#pragma once
// How the program ends when it is asked to by a signal: a screensaver host
// ends its display modes with SIGTERM, a terminal with SIGINT or SIGHUP.
//
// The processes the program started are found by a scan of /proc (each
// process's parent), not by a process group or a child subreaper:
// - QtWebEngine's helpers (zygotes, their renderers, the GPU and utility
//   processes) stay in the process group the program was started in, which
//   is its host's: under the end-to-end tests the program and its helpers
//   are all in the test runner's group. Killing that group would kill the
//   host; a group of the program's own (setpgid at start) would take it out
//   of its host's, so that a terminal's Ctrl-C under a script, or a host
//   that signals the group, no longer reaches it; and SIGKILL to a group
//   that holds the program ends it before it can die of the host's signal.
// - PR_SET_CHILD_SUBREAPER lists nothing (the children would still be read
//   from /proc), and it adopts whatever detaches from under the program: a
//   sound server libpulse starts on its own, a session bus from dbus-launch
//   (both detach by forking twice) would become the program's and be killed
//   with it. Checked: a process detached by `sh -c 'sleep 5 &'` under a
//   subreaper has the subreaper as its parent, without one init.
// The scan reads every /proc/<pid>/stat once, at the end: 1-3 ms for the
// 121 processes of the machine it was measured on (a loop of opendir, open
// and read over /proc, timed five times).

namespace platform {

// From now on SIGTERM, SIGINT and SIGHUP end the program at once, from
// whatever it is doing (start-up included): every process it started (the
// browser's helpers) is killed first, nothing is written, and the program
// dies of the signal, as its parent expects. Call once, early in main.
void EndOnTerminationSignals();

// From now on a termination signal first runs action on the calling thread
// (the GUI thread, with a running application), and the end waits for it,
// at most kSignalActionMs: the show keeps its place for --resume. A GUI
// thread that does not answer in time (busy, or the action hangs) does not
// hold the end up longer. Call once, after EndOnTerminationSignals.
constexpr int kSignalActionMs = 1000;
void BeforeSignalEnd(void (*action)());

}  // namespace platform
