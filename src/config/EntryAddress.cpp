#include "config/EntryAddress.h"

#include "config/Movie.h"
#include "platform/vb/VbString.h"

namespace config {

bool IsAddress(const QString& name) { return vb::UCase(name).contains(QStringLiteral("://")); }

QString WebAddress(const Movie& entry) {
    const bool pathUsable = !vb::Trim(entry.Path()).isEmpty() && !entry.Path().contains(QChar(u'\0'));
    return vb::Trim(pathUsable ? entry.Path() + entry.MovieName() : entry.MovieName());
}

}  // namespace config
