// The show's player where the machine gives it less than it would like:
// no second player for seamless changes, no sound output, clips without a
// sound track.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <memory>

#include "e2e/ShowE2E.h"
#include "support/PulseServer.h"

using namespace testsupport;

namespace {

// The milliseconds from the open of a file to the last step the trace gives
// it; -1 when it was not opened.
double OpenFor(const QString& trace, const QString& file) {
    // The trace's own open steps: libraries mpv loads write lines of their
    // own to standard error ("Failed to open VDPAU backend ...").
    const qsizetype from = trace.indexOf(QStringLiteral(") open ") + file);
    if (from < 0) return -1;
    const qsizetype to = trace.indexOf(QStringLiteral(") open "), from + 1);
    double longest = 0;
    static const QRegularExpression step(QStringLiteral(R"(player timing: \+([0-9.]+) )"));
    for (const auto& m : step.globalMatch(trace.mid(from, to < 0 ? -1 : to - from))) longest = qMax(longest, m.captured(1).toDouble());
    return longest;
}

// Clips without a sound track play in both players of the seamless change,
// with no sound output (PULSE_SERVER names a socket nobody listens on) and
// with a sound server; without a second player (its creation made to fail)
// the show plays on in the one player. Each time three clips come round
// twice. Without a sound output a sound without a picture plays, silent, for
// its length. The log says once what was missing, and nothing when nothing was.
TEST_F(ShowE2E, TheShowPlaysOnWithWhateverPlayersAndSoundItHas) {
    for (const auto& [name, colour] :
         {std::pair{"red-silent.mp4", kRed}, {"green-silent.mp4", kGreen}, {"blue-silent.mp4", kBlue}})
        MakeSilentClip(program_.file(name), ColourSource(colour), 2);
    MakeTone(program_.file("tone.mka"), 4);
    const QList<EntrySpec> silent{Entry("red-silent.mp4"), Entry("green-silent.mp4"), Entry("blue-silent.mp4")};
    const struct { const char* what; bool server, secondPlayer; QList<EntrySpec> entries; const char* logged; } rows[] = {
        {"no sound output", false, true, silent + QList{Entry("tone.mka")}, "no sound output; entries without a picture play silently"},
        {"PulseAudio null sink", true, true, silent, nullptr},
        {"no second player", true, false, silent, "second player for seamless changes"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<PulseServer> sound;
        ScopedEnv environment;
        if (row.server) {
            sound = std::make_unique<PulseServer>();
            sound->UseInThisProcess();
        } else {
            environment.Set("PULSE_SERVER", "unix:" + QFile::encodeName(program_.file("no-server")));
        }
        if (!row.secondPlayer) environment.Set("ZORSCR_FAIL_SECOND_PLAYER", "1");
        QFile::remove(program_.file("ZORError.Log"));
        const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", row.entries);
        for (int round = 1; round <= 2; ++round) {
            for (const QColor& c : {kRed, kGreen, kBlue})
                ASSERT_TRUE(screen_.Shows(kCentre, c)) << "round " << round << ' ' << qPrintable(c.name());
        }
        EXPECT_EQ(show->state(), QProcess::Running);
        const QString log = ReadText(program_.file("ZORError.Log"));
        EXPECT_EQ(log.count(QLatin1Char('\n')), row.logged ? 1 : 0) << qPrintable(log);
        EXPECT_TRUE(!row.logged || log.contains(QLatin1String(row.logged))) << qPrintable(log);
        const QString trace = ReadText(program_.file("trace.txt"));
        EXPECT_TRUE(row.server || OpenFor(trace, program_.file("tone.mka")) > 3500) << qPrintable(trace);
    }
}

// The decoder asked for and the one in use are in the trace for each clip;
// without a hardware decoder the clips play in software and the log stays empty.
TEST_F(ShowE2E, HardwareDecodingIsAskedForUnlessTurnedOff) {
    for (const auto& [switches, asked] : {std::pair{"", "auto-safe"}, {"--no-hwdec", "no"}}) {
        SCOPED_TRACE(asked);
        QFile::remove(program_.file("ZORError.Log"));
        const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4"), Entry("green.mp4")}, switches);
        for (const QColor& c : {kRed, kGreen, kRed}) ASSERT_TRUE(screen_.Shows(kCentre, c)) << qPrintable(c.name());
        const QString trace = ReadText(program_.file("trace.txt"));
        const QString step = QStringLiteral(" decoder no (hwdec=%1)").arg(asked);
        EXPECT_GE(trace.count(step), 3) << qPrintable(trace);
        EXPECT_TRUE(trace.contains(QLatin1String("renderer with the X11 display"))) << qPrintable(trace);
        EXPECT_TRUE(ReadText(program_.file("ZORError.Log")).isEmpty());
    }
}

}  // namespace
