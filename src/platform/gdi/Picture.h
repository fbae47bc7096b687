#pragma once
// A picture object as the run-time's LoadPicture gives it: it owns a
// bitmap (32 bits per pixel) made from any picture file Qt reads (BMP, PNG,
// JPEG, GIF, ...), and deletes the bitmap with itself.

#include <QImage>
#include <QString>

#include "platform/gdi/Gdi.h"

namespace platform::gdi {

class StdPicture {
public:
    StdPicture() = default;  // an empty picture: handle 0
    explicit StdPicture(const QImage& image);  // handle 0 when the image is null or too large
    ~StdPicture();
    StdPicture(StdPicture&& other) noexcept;
    StdPicture& operator=(StdPicture&& other) noexcept;
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    HBITMAP Handle() const { return bitmap_; }

private:
    HBITMAP bitmap_ = 0;
};

// Raises run-time error 53 for a missing file, 481 ("Invalid picture") for
// one that holds no picture Qt can read.
StdPicture LoadPicture(const QString& path);

}  // namespace platform::gdi
