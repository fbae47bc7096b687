#include "platform/media/HeifPicture.h"
#include "platform/media/MediaProbe.h"
#include "platform/media/PictureFrames.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/TestSupport.h"

namespace {

using namespace platform::media;
using namespace testsupport;

void Ffmpeg(const QStringList& arguments) { Tool("ffmpeg", QStringList{"-loglevel", "error", "-y"} + arguments); }

// ffmpeg picks the format by the name's type; the file then gets a misleading name.
std::function<void(const QString&)> Renamed(const char* type, std::function<void(const QString&)> make) {
    return [=](const QString& path) {
        make(path + u'.' + QLatin1String(type));
        QFile::rename(path + u'.' + QLatin1String(type), path);
    };
}

// A picture ImageMagick writes (HEIC, AVIF through libheif).
std::function<void(const QString&)> Converted(const char* type, int width, int height) {
    return [=](const QString& path) {
        Tool("convert", {"-size", QStringLiteral("%1x%2").arg(width).arg(height), "xc:orange", QLatin1String(type) + u':' + path});
    };
}

// A JPEG whose EXIF data says it was taken with the camera turned right.
void UprightPhoto(const QString& path) {
    MakeStill(path + ".jpg", ColourSource(Qt::gray, 50, 20));
    const QByteArray exif = QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 32);
    const QByteArray jpeg = ReadBytes(path + ".jpg");
    WriteBytes(path, jpeg.left(2) + "\xFF\xE1" + char(0) + char(exif.size() + 2) + exif + jpeg.mid(2));
}

std::function<void(const QString&)> Bytes(const QByteArray& bytes) {
    return [=](const QString& path) { WriteBytes(path, bytes); };
}

// Only the content may decide: every name misleads.
TEST(MediaProbeTest, TellsTheKindAndFactsFromTheContent) {
    const auto clip = [](QColor colour, int w, int h, double s) {
        return [=](const QString& p) { MakeClip(p, ColourSource(colour, w, h), s); };
    };
    const auto still = [](QColor colour, int w, int h) {
        return [=](const QString& p) { MakeStill(p, ColourSource(colour, w, h)); };
    };
    const auto coveredTone = [](const QString& p) {
        MakeStill(p + ".png", ColourSource(Qt::blue, 32, 32));
        Ffmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-i", p + ".png", "-map", "0", "-map", "1", "-c:a",
                "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic", "-f", "mp3", p});
    };
    // format nullptr: any; reason: how it starts, where that matters.
    const struct { const char* name; std::function<void(const QString&)> make; MediaKind kind; int width, height;
                   double seconds, fps; const char* format; const char* reason = nullptr; } cases[] = {
        {"clip.txt", Renamed("mp4", clip(Qt::red, 64, 48, 1.5)), MediaKind::Video, 64, 48, 1.5, 25,
         "mov,mp4,m4a,3gp,3g2,mj2"},
        // No length or size in its header: read from its first packets.
        {"broadcast.mp4", Renamed("ts", clip(Qt::red, 32, 16, 1)), MediaKind::Video, 32, 16, 1, 25, "mpegts"},
        {"tone.png", Renamed("ogg", [](const QString& p) { MakeTone(p, 2.5); }), MediaKind::Sound, 0, 0, 2.5, 0, "ogg"},
        {"covered.mp4", coveredTone, MediaKind::Sound, 0, 0, 1, 0, "mp3"},
        {"picture.mp4", Renamed("png", still(Qt::green, 40, 30)), MediaKind::Picture, 40, 30, 0, 0, "png"},
        // Qt's WebP reader is a plugin of its own.
        {"still.mkv", Renamed("webp", still(Qt::cyan, 24, 16)), MediaKind::Picture, 24, 16, 0, 0, "webp"},
        {"upright.png", UprightPhoto, MediaKind::Picture, 20, 50, 0, 0, "jpeg"},
        {"phone.jpg", Converted("heic", 40, 30), MediaKind::Picture, 40, 30, 0, 0, "heif"},
        {"photo.mp4", Converted("avif", 40, 30), MediaKind::Picture, 40, 30, 0, 0, "avif"},
        // Pictures only FFmpeg reads here are nothing the show can draw.
        {"new.png", Renamed("jxl", [](const QString& p) { Ffmpeg({"-f", "lavfi", "-i", ColourSource(Qt::red), "-frames:v", "1", "-c:v", "libjxl", p}); }),
         MediaKind::Unknown, 0, 0, 0, 0, "jpegxl", "no picture reader for it is installed"},
        {"page.txt", Bytes("\xEF\xBB\xBF \r\n\t<!DOCTYPE HTML><title>x</title>"), MediaKind::Page, 0, 0, 0, 0, "html"},
        {"header.htm", Bytes("<header>not a page</header>"), MediaKind::Unknown, 0, 0, 0, 0, nullptr},
        {"notes.mp4", Bytes("Just some notes,\nnot a clip.\n"), MediaKind::Unknown, 0, 0, 0, 0, nullptr,
         "unrecognised content"},
        {"empty.mp4", Bytes(""), MediaKind::Unknown, 0, 0, 0, 0, nullptr, "empty file"},
        {"folder.mp4", [](const QString& p) { QDir().mkdir(p); }, MediaKind::Unknown, 0, 0, 0, 0, nullptr,
         "not a regular file (a folder)"},
        {"dangling.mp4", [](const QString& p) { QFile::link(p + ".gone", p); }, MediaKind::Unknown, 0, 0, 0, 0,
         nullptr},
        {"fifo.mp4", [](const QString& p) { ASSERT_EQ(mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         MediaKind::Unknown, 0, 0, 0, 0, nullptr, "not a regular file (a FIFO)"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.file(QString::fromUtf8(c.name));
        c.make(path);
        // Off this thread: a probe that waited on the FIFO would otherwise
        // hang the test. A writer then lets it go.
        auto probe = std::async(std::launch::async, ProbeMedia, path);
        if (probe.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the probe blocks";
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        }
        const MediaFacts facts = probe.get();
        EXPECT_EQ(facts.kind, c.kind) << facts.reason.toStdString();
        EXPECT_EQ(facts.width, c.width);
        EXPECT_EQ(facts.height, c.height);
        EXPECT_NEAR(facts.seconds, c.seconds, 0.1);
        EXPECT_NEAR(facts.framesPerSecond, c.fps, 0.01);
        if (c.format) {
            EXPECT_EQ(facts.format, QString::fromLatin1(c.format));
        }
        EXPECT_EQ(facts.reason.isEmpty(), c.kind != MediaKind::Unknown) << facts.reason.toStdString();
        if (c.reason) {
            EXPECT_TRUE(facts.reason.startsWith(QLatin1String(c.reason))) << facts.reason.toStdString();
        }
    }
}

// The show's picture reader refuses what is no regular file, and a picture
// whose header reads but whose pixels do not, with the reason.
TEST(PictureFramesTest, RefusesAFolderAndACutPicture) {
    TempFolder folder;
    PictureFrames frames;
    EXPECT_FALSE(frames.Open(folder.path()));
    EXPECT_TRUE(frames.reason().startsWith("not a regular file (a folder)")) << frames.reason().toStdString();
    QImage picture(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y) for (int x = 0; x < 256; ++x) picture.setPixel(x, y, qRgb(x ^ y, x * y, x + y));
    picture.save(folder.file("cut.png"));
    WriteBytes(folder.file("cut.png"), ReadBytes(folder.file("cut.png")).left(2000));
    PictureFrames cut;
    EXPECT_FALSE(cut.Open(folder.file("cut.png")));
    EXPECT_FALSE(cut.reason().isEmpty());
}

// A HEIF file that cannot be read says so at once, and no read is tried again.
TEST(HeifPictureTest, AnUnreadableFileIsRefused) {
    TempFolder folder;
    WriteBytes(folder.file("a.heic"), QByteArray(100, 'x'));
    const int writeOnly = ::open(QFile::encodeName(folder.file("a.heic")).constData(), O_WRONLY | O_CLOEXEC);
    EXPECT_EQ(ReadHeif(writeOnly, QStringLiteral("heif"), false).reason, "larger than 256 MiB, or unreadable");
    ::close(writeOnly);
}

// An animated PNG moves: its frames in turn, then the first again.
TEST(PictureFramesTest, AnAnimationShowsItsFramesInTurn) {
    TempFolder folder;
    const QString path = folder.file("moving.png");
    Ffmpeg({"-f", "lavfi", "-i", "color=c=red:size=8x8:rate=2:d=0.5[a];color=c=blue:size=8x8:rate=2:d=0.5[b];[a][b]concat[out0]",
            "-plays", "0", "-f", "apng", path});
    PictureFrames frames;
    ASSERT_TRUE(frames.Open(path)) << frames.reason().toStdString();
    EXPECT_TRUE(frames.Moves());
    const auto red = [](const QImage& frame) { return frame.pixelColor(4, 4).red() > frame.pixelColor(4, 4).blue(); };
    int delayMs = 0;
    std::vector<bool> seen{red(frames.First())};
    for (int i = 0; i < 3; ++i) seen.push_back(red(frames.Next(&delayMs)));
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
