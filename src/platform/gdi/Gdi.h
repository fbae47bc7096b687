#pragma once
// Device contexts and bitmaps with the Windows graphics meaning: objects are
// named by 32-bit handles (0 = none) and owned by whoever created them until
// DeleteDC / DeleteObject; a memory device context holds one selected
// bitmap, and a bitmap can be selected into one context at a time. The pixel
// memory of a DIB section is addressed directly. Only the user-interface
// thread may use these calls.

#include <QtGlobal>

namespace platform::gdi {

using HGDIOBJ = quint32;
using HDC = quint32;
using HBITMAP = quint32;

constexpr quint32 BI_RGB = 0;          // no compression
constexpr quint32 DIB_RGB_COLORS = 0;  // colours as RGB values, not palette indices

struct BITMAPINFOHEADER {
    quint32 biSize = 0;
    qint32 biWidth = 0;
    qint32 biHeight = 0;  // positive: rows stored bottom-up
    quint16 biPlanes = 0;
    quint16 biBitCount = 0;
    quint32 biCompression = 0;
    quint32 biSizeImage = 0;
    qint32 biXPelsPerMeter = 0;
    qint32 biYPelsPerMeter = 0;
    quint32 biClrUsed = 0;
    quint32 biClrImportant = 0;
};

// What GetObject tells of a bitmap.
struct BITMAP {
    qint32 bmType = 0;
    qint32 bmWidth = 0;
    qint32 bmHeight = 0;
    qint32 bmWidthBytes = 0;  // bytes per row
    quint16 bmPlanes = 0;
    quint16 bmBitsPixel = 0;
    quint8* bmBits = nullptr;  // the pixel memory of a DIB section, else null
};

// The screen's device context (GetDC of no window). It can serve as the
// reference for CreateCompatibleDC; it has no pixels of its own here, so
// blits to or from it fail.
HDC GetDC();
bool ReleaseDC(HDC hdc);

// A memory device context; hdc 0 or the screen's makes one compatible with
// the screen. It starts with a 1 x 1 stock bitmap selected.
HDC CreateCompatibleDC(HDC hdc);
bool DeleteDC(HDC hdc);

// A bottom-up, uncompressed 24-bit bitmap of header.biWidth x
// header.biHeight whose rows are padded to a multiple of 4 bytes and
// filled with zeros; *bits receives the pixel memory, which lives until the
// bitmap is deleted. Other formats, sizes of 0 or below and images of 2 GiB
// or more fail with 0 (and *bits null).
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFOHEADER& header, quint32 usage, quint8** bits);

// Selects a bitmap into a memory device context and returns the bitmap that
// was selected before; 0 when either handle is not valid or the bitmap is
// selected into another context.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);

// Deletes a bitmap; fails while it is selected into a device context. The
// stock bitmap is never deleted (the call succeeds and does nothing).
bool DeleteObject(HGDIOBJ object);

// Fills bitmap with the description of a bitmap and returns sizeof(BITMAP),
// or 0 for a handle that names no bitmap.
int GetObject(HGDIOBJ object, BITMAP* bitmap);

// Device contexts and bitmaps alive now, stock objects not counted.
int GdiObjectCount();

}  // namespace platform::gdi
