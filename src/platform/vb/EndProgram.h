#pragma once
// The one way the program ends (VB's End). Tests install a hook that throws
// ProgramEnded so that a routine which would end the program can be called
// directly; the hook must not return.

#include <functional>

namespace vb {

// How the program's exit status reads.
constexpr int kEndedNormally = 0;
// It could not do its job: no display to show on or the display went
// away, a collection it cannot show, a host window that is not there, a
// password it cannot store.
constexpr int kCouldNotShow = 1;
constexpr int kUsageError = 2;  // a host's command line it cannot read

struct ProgramEnded {
    int exitCode = 0;
};

[[noreturn]] void EndProgram(int exitCode = kEndedNormally);

// From now on a call of exit() ends the program as EndProgram does, with
// the status given and without static destructors: libraries call exit()
// when the display connection breaks (Qt, Xlib), and tearing down windows
// whose display has gone crashes. Objects made before the call are safe;
// call it again after making long-lived objects (the application).
void RouteExitThroughEndProgram();

// Runs action when the program ends through EndProgram or exit(), just
// before the end; not when a signal ends it, nor when a test's hook throws.
// For what another copy would trip over (the running-copy lock file). Any
// thread; the action must not end the program.
void AtProgramEnd(void (*action)());

// Installs a hook that EndProgram calls instead of leaving the process
// (an empty function removes it). Returns the previous hook.
std::function<void(int)> SetEndProgramHook(std::function<void(int)> hook);

}  // namespace vb
