#pragma once
// The one judgement of which pictures this system can draw: what the
// collection maker accepts, what its check calls playable and what the show
// draws (PictureFrames decodes with the reader chosen here). Qt's image
// readers (JPEG, PNG, GIF and BMP built in; WebP, TIFF and more from its
// image-format plugins, loaded at run time), libheif for HEIC/HEIF and AVIF,
// FFmpeg for the frames of an animated PNG.
//
// Threads: any, several at once; no state between calls.

#include <QByteArray>
#include <QSize>
#include <QString>

namespace platform::media {

struct PictureHeader {
    // "jpeg", "png", "gif", "webp", "tiff", "heif", "avif", "apng"...: a
    // picture format told from the content; empty when it is no picture
    // this system knows.
    QString format;
    QSize size;          // pixels as shown (rotation applied); invalid on failure
    int frames = 0;      // more than one: it moves
    QString reason;      // a known format that cannot be drawn: why; else empty

    bool Drawable() const { return !format.isEmpty() && reason.isEmpty(); }
};

// Reads headers (all of a HEIF file, whose index may be at its end) through
// fd, an open regular file whose offset it moves; head is the file's start
// (a few dozen bytes or more).
PictureHeader ReadPictureHeader(int fd, const QByteArray& head);

}  // namespace platform::media
