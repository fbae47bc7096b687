// The show measured from the outside, as a person sees it, on the display in
// DISPLAY (run under xvfb-run), with mpv itself measured the same way in the
// same run:
// - the gaps between clips: two clips, red and green, each ending in a
//   second of white, shown in turn; a gap runs from the clip's end (its first
//   white frame plus that second) to the first frame of the other colour,
//   read off one screen pixel polled about every millisecond (so to about a
//   frame, 40 ms). A frame of the finished clip's colour in between counts as
//   a flash. mpv plays the same two clips as one looping playlist with its
//   own prefetching;
// - a change from a clip to a still (blue) and from the still to a clip;
// - the time from the start to the first frame, against bare mpv started on
//   the same clip, the median of several starts of each in turn;
// - processor time while playing a 30-second 1080p clip, against mpv with
//   the same kind of video output (OpenGL).
// Run: xvfb-run -a -s "-screen 0 1280x720x24" build/bin/ShowBench [changes]
//        [--gaps-only] [show switches]
// The show switches (--shuffle, --resume) are given to every ZORScr started;
// --gaps-only measures the clip-to-clip gaps alone, for runs with and
// without a switch taken in turn.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/CollectionFile.h"
#include "support/TestSupport.h"
#include "support/XTools.h"

#include "Measure.h"

using namespace testsupport;

namespace {

enum class Seen { Black, Red, Green, Blue, White, Other };

Seen Classify(const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    if (!c.isValid()) return Seen::Other;
    if (r < 30 && g < 30 && b < 30) return Seen::Black;
    if (r > 220 && g > 220 && b > 220) return Seen::White;
    if (r > 150 && g < 80 && b < 80) return Seen::Red;
    if (g > 120 && r < 80 && b < 100) return Seen::Green;
    if (b > 150 && r < 80 && g < 100) return Seen::Blue;
    return Seen::Other;
}

bool Coloured(Seen s) { return s == Seen::Red || s == Seen::Green || s == Seen::Blue; }

constexpr double kColourSeconds = 1, kWhiteSeconds = 1;
constexpr int kStillSeconds = 2;  // the collection's display time of stills
constexpr int kStarts = 7;        // starts of each program timed to its first frame

struct Change {
    double at;  // ms since the start of the watch
    Seen seen;
};

// Every change of the pixel's colour for ms milliseconds, or until enough
// colours after white were seen.
std::vector<Change> Watch(const PixelProbe& probe, double ms, int wantedEnds) {
    std::vector<Change> changes;
    QElapsedTimer clock;
    clock.start();
    Seen last = Seen::Other;
    bool sawWhite = false;
    int ends = 0;
    while (clock.elapsed() < ms && ends < wantedEnds) {
        const Seen seen = Classify(probe.At(640, 360));
        if (seen != last) {
            changes.push_back({static_cast<double>(clock.nsecsElapsed()) / 1e6, seen});
            sawWhite = sawWhite || seen == Seen::White;
            if (Coloured(seen) && sawWhite) ++ends, sawWhite = false;
            last = seen;
        }
        QThread::usleep(1000);
    }
    return changes;
}

struct Gaps {
    std::vector<double> clipToClip, clipToStill, stillToClip;
    int flashes = 0;  // frames of the finished clip seen after its end
    double firstFrame = -1;
};

// Reads the changes: after a clip's white, the next colour other than the
// clip's own is the next entry; after a still, any clip colour is, and the
// gap is the time the screen showed neither (the still's display time is
// the program's own timer, not a frame count).
Gaps Read(const std::vector<Change>& changes) {
    Gaps gaps;
    Seen clip = Seen::Other;  // the colour of the clip playing
    double whiteAt = -1;
    bool still = false;     // the still is or was the last colour
    double stillGone = -1;  // when the screen stopped showing it
    for (const Change& c : changes) {
        if (gaps.firstFrame < 0 && Coloured(c.seen)) gaps.firstFrame = c.at;
        if (c.seen == Seen::White && whiteAt < 0 && clip != Seen::Other) whiteAt = c.at;
        if (still && stillGone < 0 && c.seen != Seen::Blue) stillGone = c.at;
        if (!Coloured(c.seen)) continue;
        if (whiteAt >= 0) {
            if (c.seen == clip) {
                ++gaps.flashes;
                continue;
            }
            const double gap = c.at - whiteAt - kWhiteSeconds * 1000;
            (c.seen == Seen::Blue ? gaps.clipToStill : gaps.clipToClip).push_back(gap);
        } else if (still && c.seen != Seen::Blue) {
            gaps.stillToClip.push_back(c.at - stillGone);
        }
        whiteAt = -1;
        still = c.seen == Seen::Blue;
        stillGone = -1;
        clip = c.seen == Seen::Blue ? Seen::Other : c.seen;
    }
    return gaps;
}

double Percentile95(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(0.95 * static_cast<double>(values.size())))];
}

void Report(const char* what, const std::vector<double>& gaps) {
    std::printf("%-34s median %4.0f ms  p95 %4.0f ms  max %4.0f ms  over %zu changes\n", what, Median(gaps),
                Percentile95(gaps), gaps.empty() ? 0.0 : *std::max_element(gaps.begin(), gaps.end()), gaps.size());
}

void WriteCollection(const InstalledProgram& program, const TempFolder& media, const QStringList& entries) {
    CollectionSpec spec;
    spec.runAs = QStringLiteral("SCREENSAVER_NOMOUSEMOVE");
    spec.stillDelayTimer = QString::number(kStillSeconds);
    for (const QString& name : entries) {
        EntrySpec entry{name, media.path() + u'/', {}, {}};
        if (name.endsWith(QStringLiteral(".png")))  // 1280 x 720
            entry.overrides = {{{"Looping", 7}, "720"}, {{"Looping", 8}, "1280"}, {{"Looping", 9}, "True"}};
        spec.entries.append(entry);
    }
    WriteBytes(program.file(QStringLiteral("ZORScr.INI")), CollectionText(spec));
}

const QStringList kMpvVideo{"--no-config", "--really-quiet", "--fs",       "--vo=gpu",
                            "--gpu-api=opengl", "--gpu-context=x11egl", "--hwdec=no"};

std::unique_ptr<ChildProcess> StartMpv(const QStringList& arguments) {
    auto mpv = std::make_unique<ChildProcess>();
    mpv->start(QStringLiteral("mpv"), kMpvVideo + arguments);
    mpv->waitForStarted();
    return mpv;
}

// Milliseconds from the start of a process to the first coloured frame.
template <class Start>
double FirstFrame(const PixelProbe& probe, Start start) {
    QElapsedTimer clock;
    clock.start();
    const auto process = start();
    while (clock.elapsed() < 20000 && !Coloured(Classify(probe.At(640, 360)))) QThread::usleep(1000);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double WatchMs(int ends) { return 1000.0 * (ends + 2) * (kColourSeconds + kWhiteSeconds) + 10000; }

// Processor seconds that 30 seconds of playing the clip cost.
double ZorscrCpu(const InstalledProgram& program, const QStringList& arguments) {
    const auto show = program.Start(arguments);
    QThread::msleep(30000);
    return CpuSeconds(show->processId());
}

double MpvCpu(const QString& clip) {
    const auto mpv = StartMpv({"--length=30", clip});
    double cpu = 0;
    while (!mpv->waitForFinished(200)) cpu = CpuSeconds(mpv->processId());
    return cpu;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int changes = argc > 1 ? std::max(2, atoi(argv[1])) : 20;
    QStringList show = app.arguments().mid(2);
    const bool gapsOnly = show.removeAll(QStringLiteral("--gaps-only")) > 0;
    show << QStringLiteral("/S");
    TempFolder media;
    std::puts("Making the clips...");
    const QString whiteEnd = QStringLiteral(",drawbox=color=white:t=fill:enable='gte(t,%1)'").arg(kColourSeconds);
    const double clipSeconds = kColourSeconds + kWhiteSeconds;
    MakeClip(media.file(QStringLiteral("red.mp4")), ColourSource(QColor(0xC0, 0x20, 0x20)) + whiteEnd, clipSeconds);
    MakeClip(media.file(QStringLiteral("green.mp4")), ColourSource(QColor(0x20, 0xA0, 0x40)) + whiteEnd, clipSeconds);
    MakeStill(media.file(QStringLiteral("blue.png")), ColourSource(QColor(0x20, 0x40, 0xC0), 1280, 720));
    MakeClip(media.file(QStringLiteral("hd.mp4")), QStringLiteral("testsrc2=size=1920x1080:rate=30"), 31);

    InstalledProgram program(qEnvironmentVariable("DISPLAY"));
    PixelProbe probe;

    WriteCollection(program, media, {QStringLiteral("red.mp4"), QStringLiteral("green.mp4")});
    Gaps ours;
    {
        const auto running = program.Start(show);
        ours = Read(Watch(probe, WatchMs(changes), changes + 1));
    }
    if (gapsOnly) {
        Report(qPrintable(QStringLiteral("ZORScr %1, clip to clip:").arg(show.join(u' '))), ours.clipToClip);
        return 0;
    }
    Gaps theirs;
    {
        const auto mpv = StartMpv({"--prefetch-playlist=yes", "--loop-playlist=inf", media.file("red.mp4"),
                                   media.file("green.mp4")});
        theirs = Read(Watch(probe, WatchMs(changes), changes + 1));
    }
    std::vector<double> ourStarts, mpvStarts;
    for (int i = 0; i < kStarts; ++i) {
        ourStarts.push_back(FirstFrame(probe, [&] { return program.Start(show); }));
        mpvStarts.push_back(FirstFrame(probe, [&] { return StartMpv({media.file("red.mp4")}); }));
        QThread::msleep(300);  // the last one's window gone
    }
    WriteCollection(program, media, {QStringLiteral("red.mp4"), QStringLiteral("blue.png"), QStringLiteral("green.mp4"),
                                      QStringLiteral("blue.png")});
    Gaps mixed;
    {
        const auto running = program.Start(show);
        mixed = Read(Watch(probe, 4 * 1000.0 * (clipSeconds + kStillSeconds) + 10000, 3));
    }

    WriteCollection(program, media, {QStringLiteral("hd.mp4")});
    const double ourCpu = ZorscrCpu(program, show);
    const double mpvCpu = MpvCpu(media.file(QStringLiteral("hd.mp4")));

    std::puts("");
    Report("ZORScr, clip to clip:", ours.clipToClip);
    Report("mpv playlist, clip to clip:", theirs.clipToClip);
    Report("ZORScr, clip to still:", mixed.clipToStill);
    Report("ZORScr, still to clip:", mixed.stillToClip);
    std::printf("frames of a finished clip seen after its end: ZORScr %d, mpv %d\n", ours.flashes + mixed.flashes,
                theirs.flashes);
    std::printf("first frame after start, median of %d: ZORScr %.0f ms, bare mpv %.0f ms (first runs: %.0f, %.0f)\n",
                kStarts, Median(ourStarts), Median(mpvStarts), ours.firstFrame, mpvStarts.front());
    std::printf("processor time for 30 s of a 1080p clip: ZORScr %.2f s, mpv %.2f s, ratio %.2f\n", ourCpu, mpvCpu,
                mpvCpu > 0 ? ourCpu / mpvCpu : 0.0);
    return 0;
}
