#include "platform/media/MediaSource.h"

#include <QFile>
#include <QStringList>
#include <QUrl>
#include <sys/stat.h>

#include "platform/system/FileProblem.h"

namespace platform::media {
namespace {

constexpr std::chrono::milliseconds kLocalOpeningBound{5000};
constexpr std::chrono::milliseconds kNetworkOpeningBound{15000};

// The scheme of an address in lower case; empty for a file name.
QString Scheme(const QString& source) {
    const qsizetype separator = source.indexOf(QStringLiteral("://"));
    return separator < 0 ? QString() : source.left(separator).toLower();
}

bool IsLocal(const QString& scheme) { return scheme.isEmpty() || scheme == QLatin1String("file"); }

// Only what a person puts in a collection reaches the player: files and the
// ordinary network and disc schemes. mpv's own sources (fd://, fdclose://,
// memory://, edl://, av://...) would read or close the program's descriptors,
// make up media or hang the show.
bool OrdinaryScheme(const QString& scheme) {
    static const QStringList kSchemes{"file", "http",  "https", "rtsp", "rtsps", "rtmp", "rtmps",
                                      "rtp",  "mms",   "mmsh",  "mmst", "ftp",   "cdda"};
    return scheme.isEmpty() || kSchemes.contains(scheme);
}

}  // namespace

QString RefusedSource(const QString& source) {
    const QString scheme = Scheme(source);
    if (!OrdinaryScheme(scheme))
        return source + QStringLiteral(": the player opens only files and ordinary network addresses");
    if (!IsLocal(scheme)) return {};
    const QString path = scheme.isEmpty() ? source : QUrl(source).toLocalFile();
    struct stat info {};
    // stat, not open: opening a FIFO would wait for a writer.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    const QString reason = NotRegularReason(info.st_mode);
    return reason.isEmpty() ? QString() : source + QStringLiteral(": ") + reason;
}

QString CdTrackSource(int track) { return QStringLiteral("cdda://%1").arg(track); }

int CdTrackOfSource(const QString& source) {
    if (!source.startsWith(QLatin1String("cdda://"))) return 0;
    bool ok = false;
    const int track = source.mid(7).toInt(&ok);
    return ok && track >= 1 && track <= 99 ? track : 0;
}

std::chrono::milliseconds OpeningBound(const QString& source) {
    return IsLocal(Scheme(source)) ? kLocalOpeningBound : kNetworkOpeningBound;
}

}  // namespace platform::media
