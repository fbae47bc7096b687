#include <gtest/gtest.h>

#include <QImage>

#include "graphics/cDIBSection.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace graphics;

namespace gdi = platform::gdi;

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
        // Blue, green, red of the bottom row's last pixel: rows are stored bottom up.
        const quint8* p = dib.DIBSectionBitsPtr() + 4 * 3;
        EXPECT_EQ(qRgb(p[2], p[1], p[0]), 0xff336699u) << name;
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
