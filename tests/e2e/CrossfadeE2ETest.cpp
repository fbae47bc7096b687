// --crossfade: the picture of one entry fades into the next one's. A pixel
// read during the change shows the two colours mixed.

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include "ShowE2E.h"
#include "support/WaylandTools.h"

using namespace testsupport;

namespace {

// Neither colour but a mix of the two: each channel in which they differ
// much lies between theirs, at least a fifth of the way from both.
bool Between(const QColor& seen, const QColor& from, const QColor& to) {
    const auto inside = [](int value, int a, int b) {
        const int margin = std::abs(a - b) / 5;
        return std::abs(a - b) < 0x60 || (value >= std::min(a, b) + margin && value <= std::max(a, b) - margin);
    };
    return inside(seen.red(), from.red(), to.red()) && inside(seen.green(), from.green(), to.green()) &&
           inside(seen.blue(), from.blue(), to.blue());
}

// Samples the centre until the screen has shown to after from; whether a
// mix of the two came between them.
bool BlendSeen(const VirtualDisplay& screen, const QColor& from, const QColor& to) {
    const PixelProbe probe(screen.name());
    bool fromSeen = false, mixed = false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        const QColor seen = probe.At(kCentre.x(), kCentre.y());
        fromSeen = fromSeen || VirtualDisplay::Near(seen, from, 10);
        mixed = mixed || (fromSeen && Between(seen, from, to));
        if (fromSeen && VirtualDisplay::Near(seen, to, 10)) return mixed;
        QThread::usleep(2000);
    }
    return false;
}

// Every kind of change a show of clips and stills has: clip to still, still
// to still, still to clip and, at the round's end, clip to clip.
TEST_F(ShowE2E, CrossfadeMixesEachEntrysPictureWithTheNext) {
    MakeStill(program_.file("green.png"), ColourSource(kGreen, 400, 300));
    const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE",
                                  {Entry("red.mp4"), Still("yellow.png"), Still("green.png"), Entry("blue.mp4")},
                                  "--crossfade 1000");
    EXPECT_TRUE(BlendSeen(screen_, kRed, kYellow));
    EXPECT_TRUE(BlendSeen(screen_, kYellow, kGreen));
    EXPECT_TRUE(BlendSeen(screen_, kGreen, kBlue));
    EXPECT_TRUE(BlendSeen(screen_, kBlue, kRed));
    // Both clips play to their files' ends, yet go on moving under their fades.
    WaitUntil([this] { return ReadText(program_.file("trace.txt")).count(QStringLiteral("played on")) >= 2; }, 5000);
    const QString trace = ReadText(program_.file("trace.txt"));
    EXPECT_TRUE(trace.contains("crossfade 1000 ms")) << qPrintable(trace);
    const QRegularExpression playedOn(QStringLiteral("played on (\\d+\\.\\d+) s"));
    int fadesOut = 0;
    for (auto match = playedOn.globalMatch(trace); match.hasNext(); ++fadesOut)
        EXPECT_GE(match.next().captured(1).toDouble(), 0.5) << qPrintable(trace);
    EXPECT_GE(fadesOut, 2) << qPrintable(trace);
    EXPECT_EQ(show->state(), QProcess::Running);
}

// On Wayland, read with grim: half way through each slow fade the screen
// shows the mix of the two entries (clip to still, still to clip, clip to clip).
TEST(CrossfadeWaylandE2E, MixesEachEntrysPictureWithTheNext) {
    const WaylandDisplay output;
    if (!output.problem().isEmpty()) GTEST_SKIP() << "no headless sway here:" << output.problem().toStdString();
    const TempFolder folder;
    QFile::copy(ZORSCR_EXE, folder.file("ZORScr"));
    MakeClip(folder.file("red.mp4"), ColourSource(kRed), 2);
    MakeStill(folder.file("yellow.png"), ColourSource(kYellow, 400, 300));
    MakeClip(folder.file("blue.mp4"), ColourSource(kBlue), 2);
    CollectionSpec spec;
    const std::map<std::pair<QString, int>, QString> still{{{"Looping", 7}, "300"}, {{"Looping", 8}, "400"}, {{"Looping", 9}, "True"}};
    spec.entries = {{"red.mp4", "CURRDIR", {}, {}}, {"yellow.png", "CURRDIR", still, {}}, {"blue.mp4", "CURRDIR", {}, {}}};
    WriteBytes(folder.file("ZORScr.INI"), CollectionText(spec));
    GiveToNobody(folder.path());
    const auto show = output.Start(folder.file("ZORScr"), {"--crossfade", "3000", "/S"}, folder.path());
    const auto mix = [](const QColor& a, const QColor& b) {
        return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
    };
    EXPECT_TRUE(output.Shows(kCentre, mix(kRed, kYellow), 20000));
    EXPECT_TRUE(output.Shows(kCentre, mix(kYellow, kBlue), 20000));
    EXPECT_TRUE(output.Shows(kCentre, mix(kBlue, kRed), 20000));
}

}  // namespace
