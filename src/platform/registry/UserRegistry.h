#pragma once
// The current user's registry values (HKEY_CURRENT_USER) on Linux: one file
// per user, $XDG_CONFIG_HOME/ZORScr/user.reg (~/.config/ZORScr/user.reg), in
// the registry's text export format. It holds the screensaver password in
// plain text, so the folder is made 0700 and the file kept 0600.
//
// Reads never block on a strange file (a pipe, a device): anything but a
// regular file of at most kMaxStoreBytes that parses as a registry export
// is a failed read. A write locks the folder against other copies of the
// program for the whole read-change-replace, so that no one's value is
// lost, and replaces the file atomically; it never writes over a file it
// could not read. UI thread or any other; no state is kept between calls.

#include <QString>

#include "platform/registry/RegFile.h"

namespace platform::registry {

inline constexpr qint64 kMaxStoreBytes = 4 * 1024 * 1024;

enum class ReadResult { Found, Missing, Failed };

// The file, from the environment at the time of the call.
QString StorePath();

// key below HKEY_CURRENT_USER, e.g. "Control Panel\desktop".
ReadResult QueryValue(const QString& key, const QString& name, RegValue& value);
// False with the reason in *why (for the log) when the value could not be stored.
bool SetValue(const QString& key, const QString& name, const RegValue& value, QString* why);

}  // namespace platform::registry
