#include "platform/vb/EndProgram.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <utility>

namespace vb {

namespace {

std::mutex hookMutex;
std::function<void(int)> installedHook;

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
    // destructors run; only buffered output must not be lost.
    std::cout.flush();
    std::clog.flush();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace vb
