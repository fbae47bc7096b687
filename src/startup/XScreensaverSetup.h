#pragma once
// "zorscr --setup xscreensaver": adds the display mode to the user's own
// xscreensaver settings, ~/.xscreensaver, whose `programs:` resource lists
// one display mode a line, each line ending in "\n\" (a newline escape and
// a continuation). xscreensaver adds the system-wide modes to the user's
// list by itself, so a new file holds only this one resource.

#include <QByteArray>
#include <optional>

namespace startup {

inline constexpr char kXScreensaverTarget[] = "xscreensaver";

// The settings file with the entry "ZORScr" (zorscr --root) added to its
// programs list, the list added when the file has none; nothing when the
// list already runs zorscr, enabled or not. Only inserts: every byte of
// file stays, in its order.
std::optional<QByteArray> WithDisplayMode(const QByteArray& file);

// Adds the entry to ~/.xscreensaver ($HOME's), made when missing, through
// the locked atomic replacement (the file keeps its mode); says what was
// done on standard output, or why not on standard error. The exit status.
int SetUpXScreensaver();

}  // namespace startup
