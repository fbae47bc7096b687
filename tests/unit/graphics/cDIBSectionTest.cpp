#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "graphics/cDIBSection.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace graphics;

namespace gdi = platform::gdi;

namespace {

// Blue, green, red of picture pixel (x, y), y = 0 being the top row.
QRgb PixelAt(const cDIBSection& dib, int x, int y) {
    const quint8* p = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    return qRgb(p[2], p[1], p[0]);
}

void SetPixel(cDIBSection& dib, int x, int y, QRgb colour) {
    quint8* p = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    p[0] = quint8(qBlue(colour)), p[1] = quint8(qGreen(colour)), p[2] = quint8(qRed(colour));
}

// Blue values of a picture one row high, left to right.
void FillRow(cDIBSection& dib, std::initializer_list<int> blues) {
    int x = 0;
    for (int blue : blues) SetPixel(dib, x++, 0, qRgb(0, 0, blue));
}

}  // namespace

TEST(cDIBSection, RowsArePaddedToFourBytes) {
    for (const auto& [width, bytes] : std::vector<std::pair<int, int>>{{1, 4}, {3, 12}, {4, 12}, {5, 16}}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(width, 2));
        EXPECT_EQ(dib.BytesPerScanLine(), bytes) << width;
        gdi::BITMAP bitmap;
        ASSERT_EQ(gdi::GetObject(dib.hDib(), &bitmap), int(sizeof bitmap));
        EXPECT_EQ(bitmap.bmWidthBytes, bytes);
        EXPECT_EQ(bitmap.bmBits, dib.DIBSectionBitsPtr());
    }
}

TEST(cDIBSection, OwnsOneBitmapAndOneContextAtATime) {
    const int before = gdi::GdiObjectCount();
    {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(4, 4));
        const gdi::HBITMAP first = dib.hDib();
        ASSERT_TRUE(dib.Create(8, 8));
        EXPECT_EQ(gdi::GdiObjectCount(), before + 2);
        gdi::BITMAP bitmap;
        EXPECT_EQ(gdi::GetObject(first, &bitmap), 0);
        EXPECT_FALSE(dib.Create(0, 5));
        EXPECT_FALSE(dib.Create(100000, 100000));  // 30 GB: refused, not a crash
        EXPECT_EQ(dib.hdc(), 0u);
        EXPECT_EQ(gdi::GdiObjectCount(), before);
        ASSERT_TRUE(dib.Create(2, 2));
    }
    EXPECT_EQ(gdi::GdiObjectCount(), before);
}

// A bitmap is deleted once, and not while a context holds it.
TEST(cDIBSection, DeletesABitmapOnlyWhenNoContextHoldsIt) {
    const gdi::BITMAPINFOHEADER header{.biSize = sizeof(gdi::BITMAPINFOHEADER), .biWidth = 2, .biHeight = 2, .biPlanes = 1,
                                       .biBitCount = 24, .biCompression = gdi::BI_RGB};
    const gdi::HBITMAP bitmap = gdi::CreateDIBSection(0, header, gdi::DIB_RGB_COLORS, nullptr);
    const gdi::HDC dc = gdi::CreateCompatibleDC(0);
    const gdi::HGDIOBJ stock = gdi::SelectObject(dc, bitmap);
    EXPECT_FALSE(gdi::DeleteObject(bitmap));
    gdi::SelectObject(dc, stock);
    EXPECT_TRUE(gdi::DeleteObject(bitmap));
    EXPECT_FALSE(gdi::DeleteObject(bitmap));
    EXPECT_TRUE(gdi::DeleteDC(dc));
}

TEST(cDIBSection, CopiesInAndOutThroughContexts) {
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb colours[2][3] = {{0xff102030, 0xff405060, 0xff708090}, {0xffa0b0c0, 0xffd0e0f0, 0xff010203}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) image.setPixel(x, y, colours[y][x]);
    const gdi::StdPicture picture(image);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_EQ(dib.Width(), 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(dib, x, y), colours[y][x]) << x << "," << y;

    cDIBSection target;
    ASSERT_TRUE(target.Create(4, 4));
    dib.PaintPicture(target.hdc(), 2, 1, -1, -1, 1, 0);  // clipped at the right edge
    EXPECT_EQ(PixelAt(target, 2, 1), colours[0][1]);
    EXPECT_EQ(PixelAt(target, 3, 2), colours[1][2]);
    EXPECT_EQ(PixelAt(target, 1, 1), 0xff000000u);
    target.LoadPictureBlt(dib.hdc(), 1, 1, 1, 1, gdi::SRCINVERT);  // XOR of (1, 1) onto (0, 0)
    EXPECT_EQ(PixelAt(target, 0, 0), colours[1][1]);
    target.LoadPictureBlt(0, 0, 0, 1, 1, gdi::DSTINVERT);  // needs no source
    EXPECT_EQ(PixelAt(target, 0, 0), ~colours[1][1] | 0xff000000u);
    dib.PaintPicture(dib.hdc(), 0, 1, 3, 1);  // within one bitmap: the top row down one
    EXPECT_EQ(PixelAt(dib, 2, 1), colours[0][2]);
}

TEST(cDIBSection, LoadsPictureFilesQtReads) {
    testsupport::TempFolder folder;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(0xff336699);
    ASSERT_TRUE(image.save(folder.file("p.png")) && image.save(folder.file("p.bmp")));
    testsupport::WriteBytes(folder.file("p.jpg"), "not a picture");
    for (const char* name : {"p.png", "p.bmp"}) {
        cDIBSection dib;
        dib.CreateFromPicture(platform::gdi::LoadPicture(folder.file(name)));
        ASSERT_EQ(dib.Width(), 5) << name;
        EXPECT_EQ(PixelAt(dib, 4, 2), 0xff336699u) << name;
    }
    for (const auto& [name, number] : {std::pair{"p.jpg", 481}, std::pair{"none.png", 53}}) {
        try {
            platform::gdi::LoadPicture(folder.file(name));
            ADD_FAILURE() << name;
        } catch (const vb::VbError& e) {
            EXPECT_EQ(e.number(), number) << name;
        }
    }
}

TEST(cDIBSection, RandomPixelsKeepTheirKindAndTheFillBytes) {
    for (const bool gray : {true, false}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(3, 16));
        dib.RandomiseBits(gray);
        std::set<QRgb> seen;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 3; ++x) {
                const QRgb p = PixelAt(dib, x, y);
                seen.insert(p);
                EXPECT_TRUE(gray ? qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) : qBlue(p) == 0) << std::hex << p;
            }
            for (int fill = 9; fill < 12; ++fill) EXPECT_EQ(dib.DIBSectionBitsPtr()[y * 12 + fill], 0);
        }
        EXPECT_GT(seen.size(), 8u);
    }
}

TEST(cDIBSection, ResamplesBilinearlyWithRoundingToEven) {
    cDIBSection square;
    ASSERT_TRUE(square.Create(2, 2));
    square.RandomiseBits(false);
    const std::unique_ptr<cDIBSection> copy = square.Resample(2, 2);
    ASSERT_TRUE(copy);
    EXPECT_EQ(0, memcmp(copy->DIBSectionBitsPtr(), square.DIBSectionBitsPtr(), 2 * 8));

    // Stored rows: (0, 100) then (200, 40), in blue.
    SetPixel(square, 0, 1, qRgb(0, 0, 0)), SetPixel(square, 1, 1, qRgb(0, 0, 100));
    SetPixel(square, 0, 0, qRgb(0, 0, 200)), SetPixel(square, 1, 0, qRgb(0, 0, 40));
    const std::unique_ptr<cDIBSection> large = square.Resample(4, 4);
    ASSERT_TRUE(large);
    EXPECT_EQ(qBlue(PixelAt(*large, 3, 3)), 75);  // fx 0.75 along the first stored row
    EXPECT_EQ(qBlue(PixelAt(*large, 3, 0)), 79);  // 0.25 * 150 + 0.75 * 55 = 78.75

    cDIBSection row;
    ASSERT_TRUE(row.Create(3, 1));
    FillRow(row, {2, 3, 0});
    const std::unique_ptr<cDIBSection> wider = row.Resample(2, 4);  // one row high: repeated
    ASSERT_TRUE(wider);
    for (int y = 0; y < 2; ++y) {
        const int expected[4] = {2, 2, 3, 2};  // 2.5 and 1.5 round to the even 2
        for (int x = 0; x < 4; ++x) EXPECT_EQ(qBlue(PixelAt(*wider, x, y)), expected[x]) << x << "," << y;
    }
    EXPECT_FALSE(row.Resample(0, 4));
}
