#include "platform/gdi/Picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <cstring>
#include <utility>

#include "platform/gdi/GdiTable.h"
#include "platform/vb/VbError.h"

namespace platform::gdi {

StdPicture::StdPicture(const QImage& image) {
    if (image.isNull()) return;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);  // bytes blue, green, red, unused
    std::unique_ptr<detail::Bitmap> bitmap = detail::NewBitmap(pixels.width(), pixels.height(), 4, false);
    if (!bitmap) return;
    for (qint32 y = 0; y < bitmap->height; ++y) {
        std::memcpy(bitmap->Row(y), pixels.constScanLine(y), std::size_t(bitmap->width) * 4);
    }
    bitmap_ = detail::AddBitmap(std::move(bitmap));
}

StdPicture::~StdPicture() {
    if (bitmap_) DeleteObject(bitmap_);
}

StdPicture::StdPicture(StdPicture&& other) noexcept : bitmap_(std::exchange(other.bitmap_, 0)) {}

StdPicture& StdPicture::operator=(StdPicture&& other) noexcept {
    if (this != &other) {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = std::exchange(other.bitmap_, 0);
    }
    return *this;
}

StdPicture LoadPicture(const QString& path) {
    if (!QFileInfo(path).isFile()) vb::Raise(vb::ErrNum::FileNotFound);
    QImageReader reader(path);
    const QImage image = reader.read();
    StdPicture picture(image);
    if (picture.Handle() == 0) vb::Raise(vb::ErrNum::InvalidPicture);
    return picture;
}

}  // namespace platform::gdi
