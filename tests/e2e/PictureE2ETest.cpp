// The pictures a person drops in, in the formats phones and cameras write:
// each is either taken by the collection maker and drawn by the show (an
// animated one moving, frame after frame, and again from its first frame)
// or refused by the maker with its reason. The show never meets a picture
// it cannot draw, so it never stops with its location error.

#include <gtest/gtest.h>

#include <QProcess>
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
    QProcess tool;
    if (QLatin1String(row.tool) == QLatin1String("convert"))
        tool.start("convert", QStringList{"-size", "400x300", "xc:" + row.first.name()} + row.options + QStringList{path});
    else
        tool.start("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i", Source(row.first, row.second)} +
                                 row.options + QStringList{path});
    ASSERT_TRUE(tool.waitForFinished(120000) && tool.exitCode() == 0) << row.file << tool.readAllStandardError().data();
}

struct Said {
    int code = -1;
    QString out, err;
};

Said Collect(const QStringList& arguments) {
    QProcess process;
    process.start(ZORCOLLECT_EXE, arguments);
    Said said;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return said;
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(PictureE2E, EveryPictureFormatPlaysOrIsRefusedWithItsReason) {
    const QStringList still{"-frames:v", "1"};
    const Row rows[] = {
        {"a.jpg", "ffmpeg", still, QColor(0xC0, 0x20, 0x20), {}, nullptr},
        {"b.png", "ffmpeg", still, QColor(0x20, 0xA0, 0x40), {}, nullptr},
        {"c.webp", "ffmpeg", still + QStringList{"-c:v", "libwebp"}, QColor(0x20, 0x40, 0xC0), {}, nullptr},
        {"d.tiff", "ffmpeg", still, QColor(0xE0, 0xD0, 0x20), {}, nullptr},
        {"e.heic", "convert", {}, QColor(0xC0, 0x20, 0xC0), {}, nullptr},
        {"f.avif", "convert", {}, QColor(0x20, 0xC0, 0xC0), {}, nullptr},
        {"g.gif", "ffmpeg", {}, QColor(0xE0, 0x80, 0x20), QColor(0x80, 0x80, 0x80), nullptr},
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
    const Said added = Collect({"add", ini, pictures.path()});
    const Said listed = Collect({"list", ini});
    for (const Row& row : rows) {
        const QString path = pictures.file(row.file);
        if (row.refusal)
            EXPECT_TRUE(added.err.contains(QStringLiteral("skipped %1: %2").arg(path, row.refusal))) << qPrintable(added.err);
        else
            EXPECT_TRUE(listed.out.contains(QStringLiteral("picture    400x300  ") + path)) << row.file << qPrintable(listed.out);
    }
    EXPECT_EQ(Collect({"check", ini}).code, 0);

    auto show = program.Start({ini});
    for (const Row& row : rows) {
        if (row.refusal) continue;
        EXPECT_TRUE(screen.Shows(kCentre, row.first)) << row.file;
        if (!row.second) continue;
        EXPECT_TRUE(screen.Shows(kCentre, *row.second, 40, 2000)) << row.file << " does not move";
        EXPECT_TRUE(screen.Shows(kCentre, row.first, 40, 2000)) << row.file << " does not start again";
    }
    EXPECT_TRUE(screen.Shows(kCentre, rows[0].first)) << "the show does not go round";
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_EQ(screen.Xdotool({"search", "--name", "ZOR Movie Location error"}).trimmed(), QString());
}

}  // namespace
