#pragma once
// Copying results into the caller's buffer the way the Windows functions
// do, truncation rules included. size is the buffer's length in
// characters as the caller gave it.

#include <QChar>
#include <QStringView>
#include <vector>

namespace platform::profile {

// The value cut to size-1 characters, then a NUL; returns the characters
// copied. size 0 leaves the buffer alone.
quint32 CopyValue(QStringView value, QChar* buffer, quint32 size);

// Each name followed by a NUL, then one more NUL; returns the length
// without that last NUL. The list counts as fitting only when size is at
// least that length plus two. Otherwise its first size-2 characters are
// copied, cutting a name wherever the cut falls, followed by two NULs, and
// size-2 is returned. size below 2 copies nothing.
quint32 CopyNameList(const std::vector<QStringView>& names, QChar* buffer, quint32 size);

}  // namespace platform::profile
