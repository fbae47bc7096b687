#pragma once
// VB's MsgBox with an OK button only: shows text under title and returns
// when the user has closed it. Ctrl+C in the box puts title and text, a
// line each, on the clipboard.

#include <QString>
#include <functional>

namespace platform {

void MsgBox(const QString& text, const QString& title);

// Tests install a hook that MsgBox calls instead of opening the box (an empty
// function removes it). Returns the previous hook.
std::function<void(const QString& text, const QString& title)> SetMessageBoxHook(
    std::function<void(const QString& text, const QString& title)> hook);

}  // namespace platform
