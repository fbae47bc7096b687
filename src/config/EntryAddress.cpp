#include "config/EntryAddress.h"

#include <QRegularExpression>

#include "config/Movie.h"
#include "platform/vb/VbString.h"

namespace config {

bool IsAddress(const QString& name) { return vb::UCase(name).contains(QStringLiteral("://")); }

int CdTrackNumber(const QString& movieName) {
    static const QRegularExpression kTrack(QStringLiteral("^track(\\d{1,2})\\.cda$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString name = movieName.section(u'/', -1).section(u'\\', -1).trimmed();
    const QRegularExpressionMatch match = kTrack.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString WebAddress(const Movie& entry) {
    const bool pathUsable = !vb::Trim(entry.Path()).isEmpty() && !entry.Path().contains(QChar(u'\0'));
    return vb::Trim(pathUsable ? entry.Path() + entry.MovieName() : entry.MovieName());
}

}  // namespace config
