#include "platform/vb/EndProgram.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <utility>
#include <vector>

namespace vb {

namespace {

std::mutex hookMutex;
std::function<void(int)> installedHook;
std::mutex endActionsMutex;
std::vector<void (*)()> endActions;

void RunEndActions() {
    std::lock_guard lock(endActionsMutex);
    for (const auto action : endActions) action();
}

// Whatever buffered output there is must not be lost.
void FlushOutput() {
    std::cout.flush();
    std::clog.flush();
    std::fflush(nullptr);
}

void EndAtExit(int status, void*) {
    RunEndActions();
    FlushOutput();
    std::_Exit(status);
}

}  // namespace

std::function<void(int)> SetEndProgramHook(std::function<void(int)> hook) {
    std::lock_guard lock(hookMutex);
    return std::exchange(installedHook, std::move(hook));
}

void EndProgram(int exitCode) {
    std::function<void(int)> hook;
    {
        std::lock_guard lock(hookMutex);
        hook = installedHook;
    }
    if (hook) hook(exitCode);  // expected to throw; ending anyway is the safe fallback

    // Windows and other static objects may still be alive, so no static
    // destructors run.
    RunEndActions();
    FlushOutput();
    std::_Exit(exitCode);
}

void AtProgramEnd(void (*action)()) {
    std::lock_guard lock(endActionsMutex);
    endActions.push_back(action);
}

// Exit handlers run in the reverse order of their registration, so this
// one runs before the destructors of every object made before it.
void RouteExitThroughEndProgram() { ::on_exit(EndAtExit, nullptr); }

}  // namespace vb
