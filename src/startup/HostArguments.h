#pragma once
// The Linux way of starting a screensaver display mode: "--root" (the window
// named by XSCREENSAVER_WINDOW, else the root window) or "--window-id <id>",
// each also with one dash, and an optional collection file, which may follow
// "--" (xscreensaver's settings pass a file only after a switch).

#include <QString>
#include <QStringList>
#include <optional>

namespace startup {

struct HostArguments {
    unsigned long window = 0;  // 0: the root window
    QString collection;        // the arguments left over, joined with spaces
    QString error;             // why the window cannot be named; empty when it can
};

// Nothing when the arguments hold neither switch (a Windows-style start).
// screensaverWindow is XSCREENSAVER_WINDOW's value, nothing when unset; set
// but empty counts as unset.
std::optional<HostArguments> ReadHostArguments(const QStringList& arguments,
                                               const std::optional<QString>& screensaverWindow);

// How many arguments a host switch takes after itself (0 for --root, 1 for
// --window-id); nothing when argument is no host switch.
std::optional<int> HostSwitchValues(const QString& argument);

// A window id in decimal or "0x" hexadecimal; X ids are at most 32 bits and
// never 0.
std::optional<unsigned long> ParseWindowId(const QString& text);

}  // namespace startup
