#include "graphics/cDIBSection.h"

#include <QTime>
#include <algorithm>
#include <cmath>
#include <random>

namespace graphics {

namespace gdi = platform::gdi;

cDIBSection::~cDIBSection() { ClearUp(); }

bool cDIBSection::CreateDIB(HDC lhDC, qint32 lWidth, qint32 lHeight, HBITMAP& hDib) {
    header_ = {};
    header_.biSize = sizeof(gdi::BITMAPINFOHEADER);
    header_.biWidth = lWidth;
    header_.biHeight = lHeight;
    header_.biPlanes = 1;
    header_.biBitCount = 24;
    header_.biCompression = gdi::BI_RGB;
    header_.biSizeImage = quint32(qint64(BytesPerScanLine()) * lHeight);
    hDib = gdi::CreateDIBSection(lhDC, header_, gdi::DIB_RGB_COLORS, &bits_);
    return hDib != 0;
}

bool cDIBSection::Create(qint32 lWidth, qint32 lHeight) {
    ClearUp();
    hDC_ = gdi::CreateCompatibleDC(0);
    if (hDC_ == 0) return false;
    if (CreateDIB(hDC_, lWidth, lHeight, hDib_)) {
        hBmpOld_ = gdi::SelectObject(hDC_, hDib_);
        return true;
    }
    gdi::DeleteDC(hDC_);
    hDC_ = 0;
    return false;
}

void cDIBSection::CreateFromPicture(const gdi::StdPicture& picThis) {
    gdi::BITMAP bitmap;
    gdi::GetObject(picThis.Handle(), &bitmap);
    if (!Create(bitmap.bmWidth, bitmap.bmHeight)) return;
    const HDC screen = gdi::GetDC();
    if (screen == 0) return;
    const HDC from = gdi::CreateCompatibleDC(screen);
    gdi::ReleaseDC(screen);
    if (from == 0) return;
    const gdi::HGDIOBJ previous = gdi::SelectObject(from, picThis.Handle());
    LoadPictureBlt(from, 0, 0, -1, -1, gdi::SRCCOPY);
    gdi::SelectObject(from, previous);
    gdi::DeleteDC(from);
}

qint32 cDIBSection::BytesPerScanLine() const { return qint32((qint64(header_.biWidth) * 3 + 3) & ~qint64(3)); }

void cDIBSection::LoadPictureBlt(HDC lhDC, qint32 lSrcLeft, qint32 lSrcTop, qint32 lSrcWidth, qint32 lSrcHeight,
                                 quint32 eRop) {
    if (lSrcWidth < 0) lSrcWidth = Width();
    if (lSrcHeight < 0) lSrcHeight = Height();
    gdi::BitBlt(hDC_, 0, 0, lSrcWidth, lSrcHeight, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(HDC lhDC, qint32 lDestLeft, qint32 lDestTop, qint32 lDestWidth, qint32 lDestHeight,
                               qint32 lSrcLeft, qint32 lSrcTop, quint32 eRop) {
    if (lDestWidth < 0) lDestWidth = Width();
    if (lDestHeight < 0) lDestHeight = Height();
    gdi::BitBlt(lhDC, lDestLeft, lDestTop, lDestWidth, lDestHeight, hDC_, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::RandomiseBits(bool bGray) {
    if (!bits_) return;
    std::mt19937 generator(quint32(QTime::currentTime().msecsSinceStartOfDay()));
    std::uniform_real_distribution<float> fraction(0.0f, 1.0f);
    const auto value = [&] { return quint8(std::lround(fraction(generator) * 255.0f)); };
    const qint32 stride = BytesPerScanLine();
    if (bGray) {
        for (qint32 y = 0; y < Height(); ++y) {
            for (qint32 x = 0; x < Width(); ++x) {
                quint8* pixel = bits_ + qsizetype(y) * stride + x * 3;
                pixel[0] = pixel[1] = pixel[2] = value();
            }
        }
    } else {
        for (qint32 x = 0; x < Width(); ++x) {
            for (qint32 y = 0; y < Height(); ++y) {
                quint8* pixel = bits_ + qsizetype(y) * stride + x * 3;
                pixel[0] = 0;
                pixel[1] = value();
                pixel[2] = value();
            }
        }
    }
}

void cDIBSection::ClearUp() {
    if (hDC_ != 0) {
        if (hDib_ != 0) {
            gdi::SelectObject(hDC_, hBmpOld_);
            gdi::DeleteObject(hDib_);
        }
        gdi::DeleteDC(hDC_);
    }
    hDib_ = 0;
    hBmpOld_ = 0;
    hDC_ = 0;
    bits_ = nullptr;
}

namespace {

// To the nearest integer, halves to the even one (the default rounding mode).
float RoundEven(float value) { return std::nearbyint(value); }

}  // namespace

std::unique_ptr<cDIBSection> cDIBSection::Resample(qint32 lNewHeight, qint32 lNewWidth) const {
    auto resampled = std::make_unique<cDIBSection>();
    if (!bits_ || !resampled->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height()) {
        resampled->LoadPictureBlt(hDC_, 0, 0, -1, -1, gdi::SRCCOPY);
        return resampled;
    }
    const qint32 ws = Width(), hs = Height();
    const qint32 sourceStride = BytesPerScanLine(), stride = resampled->BytesPerScanLine();
    const float xScale = float(ws - 1) / float(lNewWidth);
    const float yScale = float(hs - 1) / float(lNewHeight);
    for (qint32 y = 0; y < lNewHeight; ++y) {
        const float fy = float(y) * yScale;
        const qint32 iy = qint32(fy);
        const float dy = fy - float(iy);
        const quint8* row0 = bits_ + qsizetype(iy) * sourceStride;
        const quint8* row1 = bits_ + qsizetype(std::min(iy + 1, hs - 1)) * sourceStride;
        quint8* out = resampled->bits_ + qsizetype(y) * stride;
        for (qint32 x = 0; x < lNewWidth; ++x, out += 3) {
            const float fx = float(x) * xScale;
            const qint32 ix = qint32(fx);
            const float dx = fx - float(ix);
            const qint32 at0 = ix * 3, at1 = std::min(ix + 1, ws - 1) * 3;
            for (int c = 0; c < 3; ++c) {
                const float left = RoundEven((1.0f - dy) * float(row0[at0 + c]) + dy * float(row1[at0 + c]));
                const float right = RoundEven((1.0f - dy) * float(row0[at1 + c]) + dy * float(row1[at1 + c]));
                const float value = RoundEven((1.0f - dx) * left + dx * right);
                out[c] = quint8(std::clamp(value, 0.0f, 255.0f));
            }
        }
    }
    return resampled;
}

}  // namespace graphics
