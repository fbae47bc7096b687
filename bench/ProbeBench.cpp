// Telling the kind and facts of a folder of media with ProbeMedia, beside
// running `ffprobe -v quiet -show_format -show_streams FILE` once per file
// (as a user's script would) over the same files in the same run. The folder
// holds 1,000 files by default: 60% short clips (0.2 to 1 s, 64 x 48, with
// sound, in eight containers), 30% PNG and JPEG pictures, 10% sound files;
// a few dozen made with ffmpeg, the rest copies of them under other names.
// The files were just written, so both read them from the page cache.
// ProbeMedia's time is the median of its rounds; each file's kind is checked
// against what it was made as, and a wrong one fails the run.
// The whole of `ZORCollect add` on the folder is timed once too.
// Run: build/bin/ProbeBench [files] [rounds]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <vector>

#include "collect/Commands.h"
#include "platform/media/MediaProbe.h"
#include "support/TestSupport.h"

#include "Measure.h"

using namespace collect;

using namespace platform::media;
using namespace testsupport;

namespace {

void Ffmpeg(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{"-loglevel", "error", "-y"} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + process.readAllStandardError().toStdString());
}

struct Seed {
    QString file;
    MediaKind kind;
};

const char* Name(MediaKind kind) {
    switch (kind) {
        case MediaKind::Video: return "video";
        case MediaKind::Sound: return "sound";
        case MediaKind::Picture: return "picture";
        case MediaKind::Page: return "page";
        case MediaKind::Unknown: break;
    }
    return "unknown";
}

std::vector<Seed> MakeSeeds(const TempFolder& folder, std::vector<Seed>& pictures, std::vector<Seed>& sounds) {
    // Container, then its video and sound codecs.
    const QStringList containers[] = {
        {"mp4", "libx264", "aac"},   {"mkv", "libx264", "aac"},   {"webm", "libvpx", "libvorbis"},
        {"avi", "mpeg4", "libmp3lame"}, {"mov", "libx264", "aac"}, {"wmv", "wmv2", "wmav2"},
        {"mpg", "mpeg1video", "mp2"}, {"ts", "libx264", "aac"},
    };
    std::vector<Seed> clips;
    int n = 0;
    for (const QStringList& c : containers) {
        for (const double seconds : {0.2, 0.6, 1.0}) {
            const QString file = folder.file(QStringLiteral("seed%1.%2").arg(++n).arg(c[0]));
            Ffmpeg({"-f", "lavfi", "-i", ColourSource(QColor::fromHsv(n * 15 % 360, 200, 200), 64, 48), "-f", "lavfi",
                    "-i", "sine=frequency=440", "-t", QString::number(seconds), "-c:v", c[1], "-pix_fmt", "yuv420p",
                    "-c:a", c[2], "-shortest", file});
            clips.push_back({file, MediaKind::Video});
        }
    }
    const QSize sizes[] = {{64, 48}, {320, 240}, {640, 480}, {1280, 720}};
    for (const QSize& size : sizes) {
        for (const char* type : {"png", "jpg"}) {
            const QString file = folder.file(QStringLiteral("seed%1.%2").arg(++n).arg(QLatin1String(type)));
            MakeStill(file, QStringLiteral("testsrc2=size=%1x%2").arg(size.width()).arg(size.height()));
            pictures.push_back({file, MediaKind::Picture});
        }
    }
    const QStringList soundTypes[] = {{"mp3", "libmp3lame"}, {"ogg", "libvorbis"}, {"wav", "pcm_s16le"},
                                      {"m4a", "aac"},        {"flac", "flac"}};
    for (const QStringList& s : soundTypes) {
        const QString file = folder.file(QStringLiteral("seed%1.%2").arg(++n).arg(s[0]));
        Ffmpeg({"-f", "lavfi", "-i", "sine=duration=2", "-c:a", s[1], file});
        sounds.push_back({file, MediaKind::Sound});
    }
    return clips;
}

// count files, cycling through the seeds, each under a name of its own.
void CopyAs(const std::vector<Seed>& seeds, int count, const TempFolder& folder, std::vector<Seed>& files) {
    for (int i = 0; i < count; ++i) {
        const Seed& seed = seeds[size_t(i) % seeds.size()];
        const QString file = folder.file(QStringLiteral("file%1.%2").arg(files.size(), 5, 10, QChar(u'0'))
                                             .arg(seed.file.section(u'.', -1)));
        if (!QFile::copy(seed.file, file)) throw std::runtime_error("cannot copy " + file.toStdString());
        files.push_back({file, seed.kind});
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(10, atoi(argv[1])) : 1000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    TempFolder seedFolder, folder;
    std::puts("Making the files...");
    std::vector<Seed> pictureSeeds, soundSeeds;
    const std::vector<Seed> clipSeeds = MakeSeeds(seedFolder, pictureSeeds, soundSeeds);
    std::vector<Seed> files;
    CopyAs(clipSeeds, count * 6 / 10, folder, files);
    CopyAs(pictureSeeds, count * 3 / 10, folder, files);
    CopyAs(soundSeeds, count - int(files.size()), folder, files);

    std::vector<double> roundSeconds;
    std::map<MediaKind, double> kindSeconds;  // of the last round
    int wrong = 0;
    for (int round = 0; round < rounds; ++round) {
        kindSeconds.clear();
        QElapsedTimer all;
        all.start();
        for (const Seed& f : files) {
            QElapsedTimer one;
            one.start();
            const MediaFacts facts = ProbeMedia(f.file);
            kindSeconds[f.kind] += double(one.nsecsElapsed()) / 1e9;
            if (round == 0 && facts.kind != f.kind) {
                ++wrong;
                std::printf("%s: %s, made as %s (%s)\n", qPrintable(f.file), Name(facts.kind), Name(f.kind),
                            qPrintable(facts.reason));
            }
        }
        roundSeconds.push_back(double(all.nsecsElapsed()) / 1e9);
    }

    // The whole add, as ZORCollect runs it: walk, probe, write the collection.
    const TempFolder collectionFolder;
    const QString ini = collectionFolder.file(QStringLiteral("Shows.ini"));
    QString messages;
    QTextStream out(&messages), err(&messages);
    RunCollect({"new", ini}, out, err, false);
    QElapsedTimer adding;
    adding.start();
    const int added = RunCollect({"add", ini, folder.path()}, out, err, false);
    const double addSeconds = double(adding.nsecsElapsed()) / 1e9;
    if (added != kExitDone) throw std::runtime_error("add failed: " + messages.toStdString());

    std::printf("ffprobe, one process per file, %zu files...\n", files.size());
    QElapsedTimer clock;
    clock.start();
    for (const Seed& f : files) {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"), {"-v", "quiet", "-show_format", "-show_streams", f.file});
        if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
            throw std::runtime_error("ffprobe failed on " + f.file.toStdString());
    }
    const double ffprobeSeconds = double(clock.nsecsElapsed()) / 1e9;

    const double n = double(files.size());
    const double ours = Median(roundSeconds);
    std::printf("\n%zu files: %zu clips, %zu pictures, %zu sounds\n", files.size(), size_t(count * 6 / 10),
                size_t(count * 3 / 10), files.size() - size_t(count * 6 / 10) - size_t(count * 3 / 10));
    std::printf("ProbeMedia: %8.1f us a file (median of %d rounds, %.3f s for all)\n", ours / n * 1e6, rounds, ours);
    for (const auto& [kind, seconds] : kindSeconds) {
        const auto made = std::count_if(files.begin(), files.end(), [&](const Seed& f) { return f.kind == kind; });
        std::printf("  %-8s %8.1f us a file\n", Name(kind), seconds / double(made) * 1e6);
    }
    std::printf("ZORCollect add: %4.1f us a file (%.3f s for the folder, written)\n", addSeconds / n * 1e6, addSeconds);
    std::printf("ffprobe:    %8.1f us a file (%.3f s for all)\n", ffprobeSeconds / n * 1e6, ffprobeSeconds);
    std::printf("ffprobe / ProbeMedia: %.1f\n", ffprobeSeconds / ours);
    if (wrong > 0) std::printf("%d files of the wrong kind\n", wrong);
    return wrong > 0 ? 1 : 0;
}
