#include "platform/media/PictureFrames.h"

#include <QFile>
#include <QImageReader>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/media/AnimatedPng.h"
#include "platform/media/HeifPicture.h"
#include "platform/media/PictureHeader.h"
#include "platform/system/FileProblem.h"

namespace platform::media {

namespace {

constexpr qint64 kHeadBytes = 1024;
// Browsers show frames meant for 0 or 10 ms (a GIF's "as fast as you can")
// for 100 ms; animations are made to look right there.
constexpr int kShortestDelayMs = 20;
constexpr int kDelayForTooShortMs = 100;

}  // namespace

struct PictureFrames::Source {
    ~Source() {
        reader.reset();
        file.reset();
        if (fd >= 0) ::close(fd);
    }
    // Rewinds to the first frame.
    bool Restart() {
        if (format == QLatin1String("apng")) return apng.Open(path);
        reader.reset();
        file = std::make_unique<QFile>();
        if (::lseek(fd, 0, SEEK_SET) != 0 || !file->open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return false;
        reader = std::make_unique<QImageReader>(file.get());
        reader->setDecideFormatFromContent(true);
        reader->setAutoTransform(true);  // a photo held upright is shown upright
        return true;
    }
    QString path;
    QString format;
    int fd = -1;
    std::unique_ptr<QFile> file;            // Qt's readers
    std::unique_ptr<QImageReader> reader;
    ApngDecoder apng;
    QImage still;                           // HEIF: decoded whole at once
};

PictureFrames::PictureFrames() = default;
PictureFrames::~PictureFrames() = default;

bool PictureFrames::Open(const QString& path) {
    source_ = std::make_unique<Source>();
    Source& s = *source_;
    s.path = path;
    first_ = QImage();
    moves_ = false;
    s.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (s.fd < 0 || ::fstat(s.fd, &info) != 0) {
        reason_ = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason_ = NotRegularReason(info.st_mode);
        return false;
    }
    QByteArray head(kHeadBytes, Qt::Uninitialized);
    head.truncate(std::max<ssize_t>(::pread(s.fd, head.data(), size_t(head.size()), 0), 0));
    const PictureHeader header = ReadPictureHeader(s.fd, head);
    if (!header.Drawable()) {
        reason_ = header.format.isEmpty() ? QStringLiteral("not a picture this system can draw") : header.reason;
        return false;
    }
    s.format = header.format;
    if (s.format == QLatin1String("heif") || s.format == QLatin1String("avif")) {
        const HeifResult decoded = ReadHeif(s.fd, s.format, true);
        s.still = decoded.image;
        reason_ = decoded.reason;
    } else if (!s.Restart()) {
        reason_ = s.format == QLatin1String("apng") ? s.apng.reason() : QStringLiteral("cannot be read again");
    }
    if (!reason_.isEmpty()) return false;
    first_ = Read(&firstDelayMs_);
    if (first_.isNull()) {
        if (reason_.isEmpty()) reason_ = QStringLiteral("no frame could be read");
        return false;
    }
    moves_ = header.frames > 1;
    return true;
}

// The next frame of the source; a null image at its end, or on failure with reason_.
QImage PictureFrames::Read(int* delayMs) {
    Source& s = *source_;
    *delayMs = 0;
    QImage image;
    if (!s.still.isNull()) {
        image = s.still;
    } else if (s.format == QLatin1String("apng")) {
        image = s.apng.Next(delayMs);
        if (image.isNull()) reason_ = s.apng.reason();
    } else if (s.reader->canRead()) {
        image = s.reader->read();
        *delayMs = s.reader->nextImageDelay();
        if (image.isNull()) reason_ = s.reader->errorString();
    }
    if (*delayMs < kShortestDelayMs) *delayMs = kDelayForTooShortMs;
    return image;
}

QImage PictureFrames::Next(int* delayMs) {
    if (!source_ || first_.isNull()) return {};
    reason_.clear();
    QImage image = Read(delayMs);
    if (!image.isNull()) return image;
    // After the last frame (some readers only tell it by failing to read
    // one more): the first again. A file that then fails is broken.
    if (!source_->Restart()) {
        reason_ = source_->format == QLatin1String("apng") ? source_->apng.reason() : QStringLiteral("cannot be read again");
        return {};
    }
    image = Read(delayMs);
    if (image.isNull() && reason_.isEmpty()) reason_ = QStringLiteral("no frame could be read");
    return image;
}

}  // namespace platform::media
