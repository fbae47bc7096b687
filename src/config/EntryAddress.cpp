#include "config/EntryAddress.h"

#include "config/Movie.h"
#include "platform/vb/VbString.h"

namespace {
constexpr qsizetype kLongestWebPath = 127;
}

bool IsAddress(const QString& name) { return vb::UCase(name).contains(QStringLiteral("://")); }

QString WebAddress(const Movie& entry) {
    const qsizetype pathLength = vb::Trim(entry.Path()).length();
    const bool pathUsable = pathLength > 0 && pathLength <= kLongestWebPath;
    return vb::Trim(pathUsable ? entry.Path() + entry.MovieName() : entry.MovieName());
}
