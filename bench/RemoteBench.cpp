// The remote control measured from the outside, on the display in DISPLAY
// (run under xvfb-run), with a sound server of its own so that no mixer
// message stands in the way:
// - from a right click on a playing clip to the remote's skin on the screen,
//   read off one pixel of its body polled every millisecond; the first call
//   (which makes the window) apart from the others;
// - processor time of the program over 30 seconds of a still picture, with
//   the remote open and without it.
// Run: xvfb-run -a -s "-screen 0 1280x720x24" build/bin/RemoteBench [calls]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "support/CollectionFile.h"
#include "support/PulseServer.h"
#include "support/TestSupport.h"
#include "support/XTools.h"

#include "Measure.h"

using namespace testsupport;

namespace {

// On a 1280 x 720 screen the 321 x 202 remote sits centred, a tenth of the
// screen above the bottom: this is a point of its blue body.
constexpr int kBodyX = (1280 - 321) / 2 + 60;
constexpr int kBodyY = 720 - 72 - 202 + 60;
constexpr double kMeasureSeconds = 30;

bool IsBody(const QColor& c) { return c.isValid() && c.blue() > c.red() + 60 && c.blue() > c.green(); }

void WriteCollection(const InstalledProgram& program, const QString& entry, bool still) {
    CollectionSpec spec;
    spec.runAs = QStringLiteral("SCREENSAVER_NOMOUSEMOVE");
    spec.stillDelayTimer = QStringLiteral("600");  // one still for the whole measurement
    EntrySpec e{entry, QStringLiteral("CURRDIR"), {}, {}};
    if (still) e.overrides = {{{"Looping", 7}, "240"}, {{"Looping", 8}, "320"}, {{"Looping", 9}, "True"}};
    spec.entries = {e};
    WriteBytes(program.file(QStringLiteral("ZORScr.INI")), CollectionText(spec));
}

void RightClick(int x, int y) {
    QProcess::execute(QStringLiteral("xdotool"), {"mousemove", QString::number(x), QString::number(y), "click", "3"});
}

// Milliseconds from a right click at (x, y) until the body's pixel shows (or hides).
double TimeToSee(const PixelProbe& probe, bool body, int x = 200, int y = 200) {
    QElapsedTimer clock;
    clock.start();
    RightClick(x, y);
    while (IsBody(probe.At(kBodyX, kBodyY)) != body) {
        if (clock.elapsed() > 10000) return -1;
        QThread::usleep(1000);
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

double CpuOverStill(const InstalledProgram& program, const PixelProbe& probe, bool withRemote) {
    const auto show = program.Start({QStringLiteral("/S")});
    QThread::msleep(3000);  // the still is up
    if (show->state() != QProcess::Running) {
        std::printf("the program ended with %d: %s\n", show->exitCode(), qPrintable(ReadText(program.file("ZORError.Log"))));
        return -1;
    }
    // On the black beside the picture: the picture itself takes its clicks.
    if (withRemote && TimeToSee(probe, true, 80, 360) < 0) std::puts("the remote did not appear");
    const double before = CpuSeconds(show->processId());
    QThread::msleep(qint64(kMeasureSeconds * 1000));
    return CpuSeconds(show->processId()) - before;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(2, atoi(argv[1])) : 10;
    PulseServer sound;
    sound.UseInThisProcess();
    InstalledProgram program(qEnvironmentVariable("DISPLAY"));
    std::puts("Making the media...");
    MakeClip(program.file(QStringLiteral("red.mp4")), ColourSource(QColor(0xC0, 0x20, 0x20)), 120);
    MakeStill(program.file(QStringLiteral("still.png")), ColourSource(QColor(0xE0, 0xD0, 0x20)));
    PixelProbe probe;

    WriteCollection(program, QStringLiteral("red.mp4"), false);
    {
        const auto show = program.Start({QStringLiteral("/S")});
        QThread::msleep(3000);
        std::vector<double> shows;
        for (int i = 0; i < calls; ++i) {
            const double ms = TimeToSee(probe, true);
            shows.push_back(ms);
            std::printf("call %d: on screen after %.1f ms\n", i + 1, ms);
            TimeToSee(probe, false);
            QThread::msleep(300);
        }
        std::printf("\nright click to remote on screen: first %.1f ms (makes the window), median of %d %.1f ms\n",
                    shows.front(), calls, Median(shows));
        shows.erase(shows.begin());
        std::printf("median of the %d later calls: %.1f ms\n", calls - 1, Median(shows));
    }

    WriteCollection(program, QStringLiteral("still.png"), true);
    const double plain = CpuOverStill(program, probe, false);
    const double open = CpuOverStill(program, probe, true);
    std::printf("processor time over %.0f s of a still: %.2f s without the remote (%.2f%% of a core), "
                "%.2f s with it open (%.2f%% of a core)\n",
                kMeasureSeconds, plain, 100 * plain / kMeasureSeconds, open, 100 * open / kMeasureSeconds);
    return 0;
}
