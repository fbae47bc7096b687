// The helper programs: collections made with the maker (ZORCollect; its
// options: CollectTest) play in the show; ZORFacts agrees with the system's tools.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <cmath>
#include <optional>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

Ran Collect(const QStringList& arguments) { return RunProgram(ZORCOLLECT_EXE, arguments); }

struct Row {
    const char* file;         // the add sees a folder in name order
    const char* tool;         // "ffmpeg" (the source as its input) or ImageMagick's "convert"
    QStringList options;      // before the file
    QColor first;
    std::optional<QColor> second;  // a picture that moves
    const char* refusal;      // what the maker says of a file it does not take; null when it takes it
};

// A 400 x 300 picture of one colour, or of two that take turns (0.4 s each).
void Make(const QString& path, const Row& row) {
    if (QLatin1String(row.tool) == QLatin1String("convert"))
        return void(Tool("convert", QStringList{"-size", "400x300", "xc:" + row.first.name()} + row.options + QStringList{path}));
    const auto part = [](const QColor& c, const char* label) {
        return QStringLiteral("color=c=0x%1:size=400x300:rate=2.5:d=0.4[%2]").arg(c.name().mid(1), label);
    };
    const QString source = row.second ? part(row.first, "a") + ';' + part(*row.second, "b") + ";[a][b]concat[out0]"
                                      : ColourSource(row.first, 400, 300);
    Tool("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i", source} + row.options + QStringList{path});
}

// The centre of the screen in that colour within timeoutMs, read straight
// from the X server every 20 ms: a frame of 0.4 s is not missed.
bool Sees(const PixelProbe& probe, const QColor& colour, int timeoutMs = 15000) {
    return WaitUntil([&] { return VirtualDisplay::Near(probe.At(kCentre.x(), kCentre.y()), colour); }, timeoutMs, 20);
}

// A folder on a share the desktop mounted is long before its first folder
// of its own: a clip deep inside one is added too, and the show finds and
// plays it, writing its log beside it. Of a folder of pictures in the
// formats phones and cameras write, added after them, the maker takes each
// the show can draw (an animated one moves, and starts again) and says why
// it skips the others: the show never stops with its location error.
TEST_F(ShowE2E, AMadeCollectionPlaysInItsOrderWithEveryPictureFormat) {
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
    const QString folder = program_.file("gvfs/smb-share:server=nas.local,share=media/Films and Family/"
                                         "2019 Summer Holiday in the Mountains (edited, full length)/"
                                         "Day 03 - The Long Walk to the Lake above the Village/Raw Footage/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString deep = folder + "green clip from the second camera.mp4", log = folder + "ZORError.Log";
    MakeClip(deep, ColourSource(kGreen), 2);

    const QString ini = program_.file("Shows.ini");
    ASSERT_EQ(Collect({"new", ini, "--runas", "SCREENSAVER_NOMOUSEMOVE", "--still-delay", "3", "--error-log", log}).code, 0);
    ASSERT_EQ(Collect({"add", ini, program_.file("red.mp4"), program_.file("green.mp4"), program_.file("blue.mp4"),
                       program_.file("yellow.png"), "--full-screen"}).code, 0);
    ASSERT_EQ(Collect({"move", ini, "4", "2"}).code, 0);  // red, yellow, green, blue
    ASSERT_EQ(Collect({"add", ini, deep}).code, 0);
    // Each picture taken plays below. (The kind and size the maker reads: MediaProbeTest.)
    const Ran added = Collect({"add", ini, pictures.path()});
    for (const Row& row : rows)
        EXPECT_TRUE(!row.refusal || added.err.contains(QStringLiteral("skipped %1: %2").arg(pictures.file(row.file), row.refusal)))
            << qPrintable(added.err);

    auto show = program_.Start({ini});
    for (const QColor& colour : {kRed, kYellow, kGreen, kBlue, kGreen}) EXPECT_TRUE(screen_.Shows(kCentre, colour)) << qPrintable(colour.name());
    const PixelProbe probe(screen_.name());
    for (const Row& row : rows) {
        if (row.refusal) continue;
        EXPECT_TRUE(Sees(probe, row.first)) << row.file;
        if (!row.second) continue;
        EXPECT_TRUE(Sees(probe, *row.second, 2000)) << row.file << " does not move";
        EXPECT_TRUE(Sees(probe, row.first, 2000)) << row.file << " does not start again";
    }
    EXPECT_TRUE(screen_.Shows(kCentre, kYellow)) << "the show does not go round";
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_FALSE(screen_.Visible("ZOR Movie Location error"));
    show.reset();
    EXPECT_FALSE(QFile::exists(log)) << qPrintable(ReadText(log));  // nothing moved, nothing failed

    // A clip gone, and a picture entry whose file became one the show cannot draw, are flagged.
    ASSERT_TRUE(QFile::remove(program_.file("green.mp4")));
    ASSERT_TRUE(QFile::remove(pictures.file("a.jpg")) && QFile::copy(pictures.file("j.jxl"), pictures.file("a.jpg")));
    const Ran checked = Collect({"check", ini});
    EXPECT_EQ(checked.code, 1);
    EXPECT_TRUE(checked.err.contains(pictures.file("a.jpg") + ": the show cannot draw it (a jpegxl picture: no picture reader "
                                                              "for it is installed); the show stops there"))
        << qPrintable(checked.err);
}

QString Output(const QString& program, const QStringList& arguments = {}) {
    // nproc would report OMP_NUM_THREADS instead of the processors.
    const Ran ran = RunProgram(program, arguments, {{"OMP_NUM_THREADS", {}}, {"OMP_THREAD_LIMIT", {}}});
    EXPECT_EQ(ran.code, 0) << program.toStdString();
    return ran.out;
}

// The whole-number fields of a text, in order.
QList<double> Numbers(const QString& text) {
    QList<double> numbers;
    static const QRegularExpression number(QStringLiteral("\\d+"));
    for (auto it = number.globalMatch(text); it.hasNext();) numbers << it.next().captured().toDouble();
    return numbers;
}

TEST(FactsE2E, AgreesWithTheSystemsTools) {
    QMap<QString, QString> facts;
    for (const QString& line : Output(ZORFACTS_EXE).split(u'\n', Qt::SkipEmptyParts))
        facts.insert(line.section(QStringLiteral(": "), 0, 0), line.section(QStringLiteral(": "), 1));

    // The line under df's heading; free space moves while others write.
    const QList<double> df = Numbers(Output("df", {"-k", "--output=size,avail", "/"}).section(u'\n', 1));
    const QList<double> drive = Numbers(facts.value("DriveInfo(/)"));
    ASSERT_EQ(df.size(), 2);
    ASSERT_EQ(drive.size(), 2);
    EXPECT_LE(std::abs(drive[0] - df[0]), df[0] * 0.01);
    EXPECT_LE(std::abs(drive[1] - df[1]), df[0] * 0.02);

    const double memTotal = Numbers(ReadText("/proc/meminfo").section(u'\n', 0, 0)).value(0);  // "MemTotal: N kB"
    const QList<double> memory = Numbers(facts.value("FreeMemory"));  // load, total, available
    ASSERT_EQ(memory.size(), 3);
    EXPECT_LE(std::abs(memory[1] - memTotal), memTotal * 0.01);
    EXPECT_LE(memory[2], memory[1]);

    EXPECT_EQ(facts.value("Processors"), Output("nproc").trimmed());
    EXPECT_EQ(facts.value("ComputerName"), Output("hostname").trimmed());
    EXPECT_FALSE(facts.value("HardwareDecoding").isEmpty());
}

}  // namespace
