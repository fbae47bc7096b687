#pragma once
// A 24-bit device-independent bitmap whose pixels are addressed directly,
// selected into a memory device context of its own so that it can be drawn
// from and to other contexts. Rows are stored bottom-up, BytesPerScanLine()
// bytes each (blue, green, red per pixel, padded to a multiple of 4). The
// object owns its bitmap and context and frees them with ClearUp, at the
// next Create and when it is destroyed.

#include <memory>

#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Picture.h"

namespace graphics {

class cDIBSection {
public:
    using HDC = platform::gdi::HDC;
    using HBITMAP = platform::gdi::HBITMAP;

    cDIBSection() = default;
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Fills the header for lWidth x lHeight and makes the bitmap against
    // lhDC; hDib receives it. True when it was made.
    bool CreateDIB(HDC lhDC, qint32 lWidth, qint32 lHeight, HBITMAP& hDib);
    bool Create(qint32 lWidth, qint32 lHeight);
    // A copy of the picture's bitmap; the object stays empty, or sized but
    // unpainted, when a step fails.
    void CreateFromPicture(const platform::gdi::StdPicture& picThis);

    qint32 BytesPerScanLine() const;
    // The header's size, which ClearUp leaves as it was.
    qint32 Width() const { return header_.biWidth; }
    qint32 Height() const { return header_.biHeight; }

    // Copies from lhDC at (lSrcLeft, lSrcTop) to (0, 0) of this bitmap; a
    // width or height below 0 stands for this bitmap's own.
    void LoadPictureBlt(HDC lhDC, qint32 lSrcLeft = 0, qint32 lSrcTop = 0, qint32 lSrcWidth = -1,
                        qint32 lSrcHeight = -1, quint32 eRop = platform::gdi::SRCCOPY);
    // Copies from this bitmap at (lSrcLeft, lSrcTop) to lhDC at (lDestLeft,
    // lDestTop); a width or height below 0 stands for this bitmap's own.
    void PaintPicture(HDC lhDC, qint32 lDestLeft = 0, qint32 lDestTop = 0, qint32 lDestWidth = -1,
                      qint32 lDestHeight = -1, qint32 lSrcLeft = 0, qint32 lSrcTop = 0,
                      quint32 eRop = platform::gdi::SRCCOPY);

    HDC hdc() const { return hDC_; }
    HBITMAP hDib() const { return hDib_; }
    quint8* DIBSectionBitsPtr() const { return bits_; }

    // Random pixels: grey ones (blue = green = red) or ones without blue.
    void RandomiseBits(bool bGray);
    void ClearUp();
    // A new bitmap of lNewWidth x lNewHeight, filled by bilinear
    // interpolation (an exact copy at the same size); null when it cannot
    // be made. A picture one pixel wide or high repeats its one column or
    // row, as the pixel beyond the edge is read as the edge pixel.
    std::unique_ptr<cDIBSection> Resample(qint32 lNewHeight, qint32 lNewWidth) const;

private:
    HBITMAP hDib_ = 0;
    HBITMAP hBmpOld_ = 0;
    HDC hDC_ = 0;
    quint8* bits_ = nullptr;
    platform::gdi::BITMAPINFOHEADER header_;
};

}  // namespace graphics
