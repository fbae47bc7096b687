// The pictures a person drops in, in the formats phones and cameras write:
// each is either taken by the collection maker and drawn by the show (an
// animated one moving, frame after frame, and again from its first frame)
// or refused by the maker with its reason. The show never meets a picture
// it cannot draw, so it never stops with its location error.

#include <gtest/gtest.h>

#include <QFile>
#include <optional>

#include "support/TestSupport.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

const QPoint kCentre(640, 360);

// A 400 x 300 picture source: one colour, or two that take turns (0.4 s each).
QString Source(const QColor& first, const std::optional<QColor>& second) {
    if (!second) return ColourSource(first, 400, 300);
    const auto part = [](const QColor& c, const char* label) {
        return QStringLiteral("color=c=0x%1:size=400x300:rate=2.5:d=0.4[%2]").arg(c.name().mid(1), label);
    };
    return part(first, "a") + ';' + part(*second, "b") + ";[a][b]concat[out0]";
}

struct Row {
    const char* file;         // the add sees a folder in name order
    const char* tool;         // "ffmpeg" (the source as its input) or ImageMagick's "convert"
    QStringList options;      // before the file
    QColor first;
    std::optional<QColor> second;  // a picture that moves
    const char* refusal;      // what the maker says of a file it does not take; null when it takes it
};

void Make(const QString& path, const Row& row) {
    if (QLatin1String(row.tool) == QLatin1String("convert"))
        Tool("convert", QStringList{"-size", "400x300", "xc:" + row.first.name()} + row.options + QStringList{path});
    else
        Tool("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i", Source(row.first, row.second)} +
                           row.options + QStringList{path});
}

// The centre of the screen in that colour within timeoutMs, read straight
// from the X server every 20 ms: a frame of 0.4 s is not missed.
bool Sees(const PixelProbe& probe, const QColor& colour, int timeoutMs = 15000) {
    return WaitUntil([&] { return VirtualDisplay::Near(probe.At(kCentre.x(), kCentre.y()), colour); }, timeoutMs, 20);
}

Ran Collect(const QStringList& arguments) { return RunProgram(ZORCOLLECT_EXE, arguments); }

TEST(PictureE2E, EveryPictureFormatPlaysOrIsRefusedWithItsReason) {
    const QStringList still{"-frames:v", "1"};
    const Row rows[] = {
        {"a.jpg", "ffmpeg", still, QColor(0xC0, 0x20, 0x20), {}, nullptr},
        {"b.png", "ffmpeg", still, QColor(0x20, 0xA0, 0x40), {}, nullptr},
        {"c.webp", "ffmpeg", still + QStringList{"-c:v", "libwebp"}, QColor(0x20, 0x40, 0xC0), {}, nullptr},
        {"d.tiff", "ffmpeg", still, QColor(0xE0, 0xD0, 0x20), {}, nullptr},
        {"e.heic", "convert", {}, QColor(0xC0, 0x20, 0xC0), {}, nullptr},
        {"f.avif", "convert", {}, QColor(0x20, 0xC0, 0xC0), {}, nullptr},
        // Colours of the palette FFmpeg gives a GIF (3, 3 and 2 bits), so no dithering.
        {"g.gif", "ffmpeg", {}, QColor(0xDB, 0x92, 0x00), QColor(0x92, 0x92, 0xFF), nullptr},
        {"h.webp", "ffmpeg", {"-c:v", "libwebp_anim", "-loop", "0"}, QColor(0xF0, 0xF0, 0xF0), QColor(0x60, 0x20, 0x80), nullptr},
        {"i.png", "ffmpeg", {"-plays", "0", "-f", "apng"}, QColor(0x80, 0xE0, 0x80), QColor(0x80, 0x40, 0x20), nullptr},
        // JPEG XL: only FFmpeg reads it here, so the show could not draw it.
        {"j.jxl", "ffmpeg", still + QStringList{"-c:v", "libjxl"}, QColor(0x20, 0x20, 0x20), {},
         "a jpegxl picture, which the show cannot draw (no picture reader for it is installed)"},
    };
    const TempFolder pictures;
    for (const Row& row : rows) Make(pictures.file(row.file), row);

    VirtualDisplay screen;
    InstalledProgram program(screen.name());
    const QString ini = program.file("Pictures.ini");
    ASSERT_EQ(Collect({"new", ini, "--still-delay", "3"}).code, 0);
    const Ran added = Collect({"add", ini, pictures.path()});
    const Ran listed = Collect({"list", ini});
    for (const Row& row : rows) {
        const QString path = pictures.file(row.file);
        if (row.refusal)
            EXPECT_TRUE(added.err.contains(QStringLiteral("skipped %1: %2").arg(path, row.refusal))) << qPrintable(added.err);
        else
            EXPECT_TRUE(listed.out.contains(QStringLiteral("picture    400x300  ") + path)) << row.file << qPrintable(listed.out);
    }
    EXPECT_EQ(Collect({"check", ini}).code, 0);

    auto show = program.Start({ini});
    const PixelProbe probe(screen.name());
    for (const Row& row : rows) {
        if (row.refusal) continue;
        EXPECT_TRUE(Sees(probe, row.first)) << row.file;
        if (!row.second) continue;
        EXPECT_TRUE(Sees(probe, *row.second, 2000)) << row.file << " does not move";
        EXPECT_TRUE(Sees(probe, row.first, 2000)) << row.file << " does not start again";
    }
    EXPECT_TRUE(Sees(probe, rows[0].first)) << "the show does not go round";
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_EQ(screen.Xdotool({"search", "--name", "ZOR Movie Location error"}).trimmed(), QString());
    show.reset();

    // A picture entry whose file became one the show cannot draw is flagged.
    ASSERT_TRUE(QFile::remove(pictures.file("a.jpg")) && QFile::copy(pictures.file("j.jxl"), pictures.file("a.jpg")));
    const Ran checked = Collect({"check", ini});
    EXPECT_EQ(checked.code, 1);
    EXPECT_TRUE(checked.err.contains(pictures.file("a.jpg") + ": the show cannot draw it (a jpegxl picture: no picture reader "
                                                              "for it is installed); the show stops there"))
        << qPrintable(checked.err);
}

}  // namespace
