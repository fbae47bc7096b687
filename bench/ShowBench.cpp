// The show measured from the outside, as a person sees it, on the display in
// DISPLAY (run under xvfb-run):
// - processor time of ZORScr playing a 30-second 1080p clip, beside mpv
//   playing the same clip with the same kind of video output (OpenGL) in the
//   same run;
// - the gap between two clips: from the end of the first (red, its last
//   second white) to the first frame of the next (green), read off one
//   screen pixel polled every millisecond (to about one frame, 40 ms);
// - the time from the start of the program to the first frame.
// Run: xvfb-run -a -s "-screen 0 1280x720x24" build/bin/ShowBench [rounds]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>
#include <vector>

#include "support/CollectionFile.h"
#include "support/XTools.h"
#include "support/TestSupport.h"

#include "Measure.h"

using namespace testsupport;

namespace {

enum class Seen { Black, Red, Green, White, Other };

Seen Classify(const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    if (!c.isValid()) return Seen::Other;
    if (r < 30 && g < 30 && b < 30) return Seen::Black;
    if (r > 220 && g > 220 && b > 220) return Seen::White;
    if (r > 150 && g < 80 && b < 80) return Seen::Red;
    if (g > 120 && r < 80 && b < 100) return Seen::Green;
    return Seen::Other;
}

void WriteCollection(const InstalledProgram& program, const TempFolder& media, const QStringList& clips) {
    CollectionSpec spec;
    spec.runAs = QStringLiteral("SCREENSAVER_NOMOUSEMOVE");
    for (const QString& clip : clips) spec.entries.append({clip, media.path() + u'/', {}, {}});
    WriteBytes(program.file(QStringLiteral("ZORScr.INI")), CollectionText(spec));
}

// Processor seconds that 30 seconds of playing the clip cost.
double ZorscrCpu(const InstalledProgram& program) {
    const auto show = program.Start({QStringLiteral("/S")});
    QThread::msleep(30000);
    return CpuSeconds(show->processId());
}

double MpvCpu(const QString& clip) {
    QProcess mpv;
    // OpenGL through EGL on X11, as the program's picture is drawn.
    mpv.start(QStringLiteral("mpv"), {"--no-config", "--really-quiet", "--fs", "--vo=gpu", "--gpu-api=opengl",
                                      "--gpu-context=x11egl", "--hwdec=no", "--length=30", clip});
    mpv.waitForStarted();
    const qint64 pid = mpv.processId();
    double cpu = 0;
    while (!mpv.waitForFinished(200)) cpu = CpuSeconds(pid);
    return cpu;
}

constexpr double kShortClipSeconds = 3;
constexpr double kWhiteSeconds = 1;

// Milliseconds from the start to the first frame, and from the end of the
// first clip to the first frame of the next (green). The player keeps the
// first clip's last frame on the screen until the next one draws, so its end
// is taken as the first white frame plus the one second of white.
std::pair<double, double> FirstFrameAndGap(const InstalledProgram& program, const PixelProbe& probe) {
    QElapsedTimer clock;
    clock.start();
    const auto show = program.Start({QStringLiteral("/S")});
    double firstFrame = -1, firstWhite = -1;
    while (clock.elapsed() < 20000) {
        const Seen seen = Classify(probe.At(640, 360));
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (seen == Seen::Red && firstFrame < 0) firstFrame = now;
        if (seen == Seen::White && firstWhite < 0) firstWhite = now;
        if (seen == Seen::Green && firstWhite >= 0) return {firstFrame, now - (firstWhite + kWhiteSeconds * 1000)};
        QThread::usleep(1000);
    }
    return {firstFrame, -1};
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    TempFolder media;
    std::puts("Making the clips...");
    MakeClip(media.file(QStringLiteral("hd.mp4")), QStringLiteral("testsrc2=size=1920x1080:rate=30"), 31);
    const QString whiteEnd = QStringLiteral(",drawbox=color=white:t=fill:enable='gte(t,%1)'");
    MakeClip(media.file(QStringLiteral("red.mp4")),
             ColourSource(QColor(0xC0, 0x20, 0x20)) + whiteEnd.arg(kShortClipSeconds - kWhiteSeconds), kShortClipSeconds);
    MakeClip(media.file(QStringLiteral("green.mp4")), ColourSource(QColor(0x20, 0xA0, 0x40)), kShortClipSeconds);

    InstalledProgram program(qEnvironmentVariable("DISPLAY"));
    PixelProbe probe;
    std::vector<double> firstFrames, gaps;
    WriteCollection(program, media, {QStringLiteral("red.mp4"), QStringLiteral("green.mp4")});
    for (int i = 0; i < rounds; ++i) {
        const auto [first, gap] = FirstFrameAndGap(program, probe);
        firstFrames.push_back(first);
        gaps.push_back(gap);
        std::printf("round %d: first frame %.0f ms, gap %.0f ms\n", i + 1, first, gap);
    }

    WriteCollection(program, media, {QStringLiteral("hd.mp4")});
    const double ours = ZorscrCpu(program);
    const double theirs = MpvCpu(media.file(QStringLiteral("hd.mp4")));
    std::printf("\nfirst frame after start: median %.0f ms over %d runs\n", Median(firstFrames), rounds);
    std::printf("gap between two clips: median %.0f ms over %d runs\n", Median(gaps), rounds);
    std::printf("processor time for 30 s of a 1080p clip: ZORScr %.2f s, mpv %.2f s, ratio %.2f\n", ours, theirs,
                theirs > 0 ? ours / theirs : 0.0);
    return 0;
}
