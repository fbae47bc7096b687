#pragma once
// HEIF pictures (HEIC from phones and cameras, AVIF) through libheif: what
// Qt's own readers do not know. libheif applies the pictures' rotation and
// mirroring, so sizes and pixels are as the picture is meant to be seen.
//
// Threads: any, several at once; no state between calls.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace platform::media {

// "heif" or "avif" when the first bytes of a file (a few dozen suffice) are
// of the HEIF family, else empty.
QString HeifFormat(const QByteArray& head);

struct HeifResult {
    QSize size;      // of the primary picture, in pixels; invalid on failure
    QImage image;    // null unless decoded
    QString reason;  // why it cannot be read or decoded here; empty on success
};

// Reads the whole file through fd, an open regular file (HEIF keeps its
// index at either end; files over 256 MiB are refused). Decodes the pixels
// only when decode is true; without it, it says whether this system has a
// decoder for the picture's coding. format: as HeifFormat gave it.
HeifResult ReadHeif(int fd, const QString& format, bool decode);

}  // namespace platform::media
