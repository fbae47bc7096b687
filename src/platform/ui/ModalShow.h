#pragma once
// VB's modal Show: the window is shown and the caller waits, while every
// other event goes on being handled, until the window hides or is closed.

#include <functional>

class QWidget;

namespace platform {

// VB's modeless Show: shows the window above the others and activates it.
void ShowActive(QWidget& window);

// Shows it as ShowActive does, then blocks in a nested event loop (no spinning) and returns once window has
// hidden itself, been closed or been destroyed.
void ShowModal(QWidget& window);

// Tests install a hook that ShowModal calls instead of showing the window and
// waiting (it answers the window in place); an empty function removes it.
// Returns the previous hook.
std::function<void(QWidget&)> SetModalShowHook(std::function<void(QWidget&)> hook);

}  // namespace platform
