#include "platform/media/PictureHeader.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <unistd.h>

#include "platform/media/AnimatedPng.h"
#include "platform/media/HeifPicture.h"

namespace platform::media {

namespace {

// Qt's readers of formats whose few magic bytes also begin other files.
bool IsWeakSignature(const QByteArray& format) { return format == "tga" || format == "wbmp"; }

PictureHeader ReadWithQt(int fd) {
    PictureHeader header;
    if (::lseek(fd, 0, SEEK_SET) != 0) return header;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return header;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // The format first: it is told from the bytes at the start, which
    // reading the size moves past.
    const QByteArray format = reader.format();
    if (format.isEmpty() || IsWeakSignature(format)) return header;
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return header;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();  // a photo held upright
    header.format = QString::fromLatin1(format);
    header.size = size;
    header.frames = reader.supportsAnimation() ? std::max(reader.imageCount(), 1) : 1;
    return header;
}

}  // namespace

PictureHeader ReadPictureHeader(int fd, const QByteArray& head) {
    if (const QString heif = HeifFormat(head); !heif.isEmpty()) {
        PictureHeader header;
        header.format = heif;
        const HeifResult read = ReadHeif(fd, heif, false);
        header.size = read.size;
        header.frames = 1;
        header.reason = read.reason;
        return header;
    }
    PictureHeader header = ReadWithQt(fd);
    if (header.format == QLatin1String("png")) {
        if (const quint32 frames = PngFrameCount(fd); frames > 1) {
            header.format = QStringLiteral("apng");
            header.frames = int(std::min<quint32>(frames, INT_MAX));
        }
    }
    return header;
}

}  // namespace platform::media
