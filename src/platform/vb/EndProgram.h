#pragma once
// The one way the program ends (VB's End). Tests install a hook that throws
// ProgramEnded so that a routine which would end the program can be called
// directly; the hook must not return.

#include <functional>

namespace vb {

struct ProgramEnded {
    int exitCode = 0;
};

[[noreturn]] void EndProgram(int exitCode = 0);

// Installs a hook that EndProgram calls instead of leaving the process
// (an empty function removes it). Returns the previous hook.
std::function<void(int)> SetEndProgramHook(std::function<void(int)> hook);

}  // namespace vb
