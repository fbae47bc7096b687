#pragma once
// VB's MsgBox with an OK button only: shows text under title and returns
// when the user has closed it. Ctrl+C in the box puts title and text, a
// line each, on the clipboard.

#include <QString>
#include <functional>

namespace platform {

void MsgBox(const QString& text, const QString& title);

// The same box, application-modal as well, but the caller does not wait for
// it: it returns at once, and whatever runs behind the box (a show's loop and
// its clips) goes on, while no other window of the program takes input until
// the box is closed. The box appears at the next turn of the event loop, so
// it lies above the windows the caller shows meanwhile; it deletes itself
// when closed.
void MsgBoxNoWait(const QString& text, const QString& title);

// Tests install a hook that both call instead of opening the box (an empty
// function removes it). Returns the previous hook.
std::function<void(const QString& text, const QString& title)> SetMessageBoxHook(
    std::function<void(const QString& text, const QString& title)> hook);

}  // namespace platform
