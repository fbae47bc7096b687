#include <gtest/gtest.h>

#include <QFile>
#include <QRegion>
#include <QWidget>
#include <QtEndian>
#include <initializer_list>
#include <vector>

#include "graphics/cDIBSectionRegion.h"
#include "support/TestSupport.h"

using namespace graphics;

namespace {

using R = platform::gdi::RECT;

// Region data as the tests write and read it: little-endian 32-bit fields,
// a 32-byte header, then rectangles of four fields.
struct RegionBytes {
    static QByteArray Of(std::initializer_list<qint32> fields) {
        QByteArray bytes(qsizetype(fields.size() * 4), '\0');
        qsizetype at = 0;
        for (qint32 f : fields) qToLittleEndian(f, bytes.data() + (at++) * 4);
        return bytes;
    }
    // The rectangles of well-formed data; what follows the count is ignored.
    static std::vector<R> Rects(const QByteArray& bytes) {
        std::vector<R> rects;
        const auto at = [&](qsizetype i) { return qFromLittleEndian<qint32>(bytes.constData() + i * 4); };
        for (qint32 i = 0; i < at(2); ++i) rects.push_back({at(8 + 4 * i), at(9 + 4 * i), at(10 + 4 * i), at(11 + 4 * i)});
        return rects;
    }
};

// '.' black, '#' white, 'r' red; one text per row, top row first.
void Draw(cDIBSection& dib, const std::vector<QString>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x] == u'#' ? 0xffffffff : rows[y][x] == u'r' ? 0xffff0000 : 0xff000000);
    dib.CreateFromPicture(platform::gdi::StdPicture(image));
}

QByteArray Saved(cDIBSectionRegion& region) {
    testsupport::TempFolder folder;
    EXPECT_TRUE(region.Save(folder.file("shape.rgn")));
    return testsupport::ReadBytes(folder.file("shape.rgn"));
}

}  // namespace

TEST(cDIBSectionRegion, LeavesOutTheTransparentPixelsInBands) {
    const std::vector<QString> columns = {"##.", "##.", "###", "###", "###", "###", "###", "##.", "##.", "##."};
    const struct { std::vector<QString> art; qint32 transparent; std::vector<R> rects; } cases[] = {
        {{"##", "##"}, 0, {{0, 0, 2, 2}}},                                  // nothing transparent
        {{"..", ".."}, 0, {}},                                              // everything transparent
        {columns, 0, {{0, 0, 2, 2}, {0, 2, 3, 7}, {0, 7, 2, 10}}},          // equal bands merged
        {{"##", "#."}, 0, {{0, 0, 2, 1}, {0, 1, 1, 2}}},                    // a run ending at the bottom
        {{"#.#", "#.#"}, 0, {{0, 0, 1, 2}, {2, 0, 3, 2}}},                  // two rectangles in a band
        {{"r.#", "rr."}, 0x0000FF, {{1, 0, 3, 1}, {2, 1, 3, 2}}},           // red (0x00BBGGRR) left out
    };
    for (const auto& c : cases) {
        cDIBSection dib;
        Draw(dib, c.art);
        const int pixelBytes = dib.Width() * 3, fill = dib.BytesPerScanLine() - pixelBytes;
        for (int row = 0; row < dib.Height(); ++row)  // bytes that pad a row are never pixels
            memset(dib.DIBSectionBitsPtr() + row * dib.BytesPerScanLine() + pixelBytes, 0x7F, fill);
        cDIBSectionRegion region;
        region.Create(dib, c.transparent);
        EXPECT_EQ(RegionBytes::Rects(Saved(region)), c.rects) << c.art[0].toStdString();
    }
    // The bytes themselves: header, bounding box, rectangles.
    cDIBSection dib;
    Draw(dib, columns);
    cDIBSectionRegion region;
    region.Create(dib);
    EXPECT_EQ(Saved(region), RegionBytes::Of({32, 1, 3, 48, 0, 0, 3, 10, 0, 0, 2, 2, 0, 2, 3, 7, 0, 7, 2, 10}));
}

TEST(cDIBSectionRegion, ShapesTheListedWindows) {
    cDIBSection dib;
    Draw(dib, {"#.", "##"});
    cDIBSectionRegion region;
    region.Create(dib);
    QWidget a, b, c;
    const unsigned long ha = a.winId(), hb = b.winId(), hc = c.winId();
    const QRegion shape = QRegion(0, 0, 1, 1) + QRegion(0, 1, 2, 1);

    region.SetApplied(ha, true);
    EXPECT_EQ(a.mask(), shape);
    region.SetApplied(hb, true), region.SetApplied(hc, true);
    region.SetApplied(hb, false);
    EXPECT_EQ(b.mask(), QRegion());
    EXPECT_TRUE(region.Applied(hc));
    EXPECT_FALSE(region.Applied(hb));

    region.Destroy();
    EXPECT_EQ(a.mask(), QRegion());
    EXPECT_EQ(c.mask(), QRegion());
    Draw(dib, {"..", ".."});
    region.Create(dib);
    region.SetApplied(hb, true);  // nothing of the window is left
    EXPECT_TRUE(b.mask().intersected(b.rect()).isEmpty());
    EXPECT_FALSE(b.mask().isEmpty());
}

TEST(cDIBSectionRegion, TakesAnyRectanglesAndRefusesBrokenData) {
    const struct { const char* what; QByteArray data; std::optional<std::vector<R>> rects; } cases[] = {  // rects none: no region
        {"empty file", {}, std::nullopt},
        {"header size 31", RegionBytes::Of({31, 1, 0, 0, 0, 0, 0, 0}), std::nullopt},
        {"count past the bytes", RegionBytes::Of({32, 1, 2, 32, 0, 0, 1, 1, 0, 0, 1, 1}), std::nullopt},
        {"count 2^31", RegionBytes::Of({32, 1, qint32(0x80000000), 0, 0, 0, 0, 0}), std::nullopt},
        {"no rectangles", RegionBytes::Of({32, 1, 0, 0, 5, 5, 9, 9}), std::vector<R>{}},
        {"lying size, type and box; inverted and empty rectangles",
         RegionBytes::Of({32, 7, 3, 999, 0, 0, 0, 0, 5, 5, 1, 1, 2, 2, 2, 9, -3, -2, -1, 0}),
         std::vector<R>{{-3, -2, -1, 0}}},
        {"unsorted, overlapping and touching",
         RegionBytes::Of({32, 1, 3, 48, 0, 0, 0, 0, 2, 0, 4, 2, 0, 0, 3, 1, 4, 0, 5, 2}),
         std::vector<R>{{0, 0, 5, 1}, {2, 1, 5, 2}}},
    };
    testsupport::TempFolder folder;
    for (const auto& c : cases) {
        testsupport::WriteBytes(folder.file("case.rgn"), c.data);
        cDIBSectionRegion region;
        EXPECT_EQ(region.LoadFromFile(folder.file("case.rgn")), c.rects.has_value()) << c.what;
        if (c.rects) {
            EXPECT_EQ(RegionBytes::Rects(Saved(region)), *c.rects) << c.what;
        }
    }
    QFile huge(folder.file("huge.rgn"));  // 100 MB, sparse
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write(RegionBytes::Of({32, 1, 0, 0, 0, 0, 0, 0})) == 32);
    ASSERT_TRUE(huge.resize(100 << 20));
    huge.close();
    cDIBSectionRegion region;
    EXPECT_FALSE(region.LoadFromFile(huge.fileName()));
}
