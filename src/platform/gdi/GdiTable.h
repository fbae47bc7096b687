#pragma once
// The objects behind the GDI handles, for the gdi layer's own files: the
// handle calls (Gdi.cpp), the blits and the pictures.

#include <QtGlobal>
#include <cstdlib>
#include <memory>

#include "platform/gdi/Gdi.h"

namespace platform::gdi::detail {

struct FreeDeleter {
    void operator()(quint8* bits) const { std::free(bits); }
};

// Pixel memory: 3 bytes per pixel (blue, green, red) for a DIB section,
// stored bottom-up; 4 (blue, green, red, unused) for a picture's bitmap,
// stored top-down.
struct Bitmap {
    qint32 width = 0;
    qint32 height = 0;
    qint32 bytesPerPixel = 0;
    qint32 stride = 0;  // bytes per row, a multiple of 4
    bool bottomUp = false;
    bool dibSection = false;
    std::unique_ptr<quint8[], FreeDeleter> bits;
    HDC selectedInto = 0;

    // The first byte of picture row y (0 = top).
    quint8* Row(qint32 y) const { return bits.get() + qsizetype(bottomUp ? height - 1 - y : y) * stride; }
};

// A zero-filled bitmap, or null when the size is not possible (0 or below,
// 2 GiB of pixels or more) or the memory is not there.
std::unique_ptr<Bitmap> NewBitmap(qint32 width, qint32 height, qint32 bytesPerPixel, bool bottomUp);

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap);
Bitmap* FindBitmap(HGDIOBJ handle);

// The bitmap selected into a memory device context; null for the screen's
// context and for handles that name no context.
Bitmap* SelectedBitmap(HDC hdc);

}  // namespace platform::gdi::detail
