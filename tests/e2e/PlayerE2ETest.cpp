// The show's player where the machine gives it less than it would like,
// and the order and changes of the show as the switches set them; which clip
// the player opened, and from where, is read from its trace.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
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
// its length. The log says once what was missing, and nothing when nothing
// was. The decoder asked for (unless --no-hwdec, hardware decoding) and the
// one in use, none here, are in the trace for each clip.
TEST_F(ShowE2E, TheShowPlaysOnWithWhateverPlayersAndSoundItHas) {
    for (const auto& [name, colour] :
         {std::pair{"red-silent.mp4", kRed}, {"green-silent.mp4", kGreen}, {"blue-silent.mp4", kBlue}})
        MakeClip(program_.file(name), ColourSource(colour), 2, false);
    MakeTone(program_.file("tone.mka"), 4);
    const QList<EntrySpec> silent{Entry("red-silent.mp4"), Entry("green-silent.mp4"), Entry("blue-silent.mp4")};
    const struct { const char* what; bool server, secondPlayer, hwdec; QList<EntrySpec> entries; const char* logged; } rows[] = {
        {"no sound output", false, true, true, silent + QList{Entry("tone.mka")}, "no sound output; entries without a picture play silently"},
        {"PulseAudio null sink, --no-hwdec", true, true, false, silent, nullptr},
        {"no second player", true, false, true, silent, "second player for seamless changes"},
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
        const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", row.entries, row.hwdec ? "" : "--no-hwdec");
        for (int round = 1; round <= 2; ++round) {
            for (const QColor& c : {kRed, kGreen, kBlue})
                ASSERT_TRUE(screen_.Shows(kCentre, c)) << "round " << round << ' ' << qPrintable(c.name());
        }
        EXPECT_EQ(show->state(), QProcess::Running);
        EXPECT_EQ(Log().count(QLatin1Char('\n')), row.logged ? 1 : 0) << qPrintable(Log());
        EXPECT_TRUE(!row.logged || Log().contains(QLatin1String(row.logged))) << qPrintable(Log());
        const QString trace = ReadText(program_.file("trace.txt"));
        EXPECT_TRUE(row.server || OpenFor(trace, program_.file("tone.mka")) > 3500) << qPrintable(trace);
        EXPECT_GE(trace.count(row.hwdec ? " decoder no (hwdec=auto-safe)" : " decoder no (hwdec=no)"), 3) << qPrintable(trace);
        EXPECT_TRUE(trace.contains(QLatin1String("renderer with the X11 display"))) << qPrintable(trace);
    }
}

// --on-battery, UPower faked on a private system bus. A clip red for its
// first second, then green: held at its first picture
// it stays red; played it turns green, again and again in the one player
// (a clip that follows itself needs no second). Black shows neither.
TEST_F(ShowE2E, OnBatteryHoldsOrBlanksEachClip) {
    MakeClip(program_.file("red-then-green.mp4"),
             ColourSource(kRed) + ",drawbox=c=0x20A040:t=fill:enable='gte(t,1)'", 4);
    // upower: OnBattery, or nullptr: no UPower on the bus; never: invalid when the clip plays.
    struct Case { const char* rule; const char* upower; QColor shown, never; };
    for (const Case& c : {Case{"black", "true", Qt::black, kRed}, Case{"still", "true", kRed, kGreen},
                          Case{"still", "false", kGreen, {}}, Case{"black", nullptr, kGreen, {}}}) {
        SCOPED_TRACE(QStringLiteral("%1, OnBattery %2").arg(c.rule, c.upower ? c.upower : "unknown").toStdString());
        const PrivateBus bus("DBUS_SYSTEM_BUS_ADDRESS", c.upower ? QStringList{FAKE_DBUS, "upower", c.upower} : QStringList{});
        ASSERT_TRUE(bus.Serves());
        QFile::remove(program_.file("ZORError.Log"));
        const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", {Entry("red-then-green.mp4")},
                                      QStringLiteral("--on-battery ") + c.rule);
        EXPECT_TRUE(screen_.Shows(kCentre, c.shown));
        QString trace;  // the start's and two rounds
        EXPECT_TRUE(c.never.isValid() ||
                    WaitUntil([&] { return (trace = ReadText(program_.file("trace.txt"))).count("same clip again") >= 3; }, 20000, 200))
            << qPrintable(trace);
        EXPECT_FALSE(trace.contains(QStringLiteral("(prepared)"))) << qPrintable(trace);
        // Over two still delays of 2 s: the entry came again at least once.
        const PixelProbe probe(screen_.name());
        EXPECT_FALSE(c.never.isValid() && WaitUntil([&] { return VirtualDisplay::Near(probe.At(640, 360), c.never); }, 5000, 50));
        EXPECT_EQ(show->state(), QProcess::Running);
        EXPECT_LE(Log().count(u'\n'), c.upower ? 0 : 1);
    }
}

// A clip the player opens, in its trace.
const QRegularExpression kOpen(QStringLiteral(R"(\) open \S*/([^/\s]+)\n)"));

// --shuffle takes the clips in an order of its own. (Each round every entry
// once, never one twice in a row, and the next one prepared the one taken:
// ShowOrderTest, RunShowTest.)
TEST_F(ShowE2E, ShuffleChangesTheOrder) {
    const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4"), Entry("green.mp4"), Entry("blue.mp4")},
                                  "--shuffle");
    // The clips opened until one is out of the collection's order: a shuffled
    // round keeps that order at most one time in four, so eight in a row do not.
    // The first is opened twice at the start (by the window's load step and by
    // the loop): it counts once.
    const QStringList collectionOrder{"red.mp4", "green.mp4", "blue.mp4"};
    QStringList names;
    EXPECT_TRUE(WaitUntil([&] {
        names.clear();
        for (const auto& match : kOpen.globalMatch(ReadText(program_.file("trace.txt")))) names << match.captured(1);
        for (int i = 1; i < names.size(); ++i)
            if (names[i] != collectionOrder[(i - 1) % 3]) return true;
        return false;
    }, 60000, 200)) << qPrintable(names.join(' '));
}

// Ended by its host's signal during entry 2, the next show of the
// collection starts with entry 2; ended by a key, it keeps its place again.
// (Where in the entry it starts: ShowOrderTest.)
TEST_F(ShowE2E, ResumeStartsWhereTheLastShowEnded) {
    MakeClip(program_.file("long-green.mp4"), ColourSource(kGreen), 30);
    const ScopedEnv state("XDG_STATE_HOME", QFile::encodeName(program_.file("state")));
    const QList<EntrySpec> entries{Entry("red.mp4"), Entry("long-green.mp4"), Entry("blue.mp4")};
    auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", entries, "--resume");
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    show->terminate();
    ASSERT_TRUE(show->waitForFinished(5000));

    show = StartTraced("SCREENSAVER_NOMOUSEMOVE", entries, "--resume");
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    const QString trace = ReadText(program_.file("trace.txt"));
    EXPECT_EQ(kOpen.match(trace).captured(1), "long-green.mp4") << qPrintable(trace);

    const QString kept = program_.file("state/ZORScr");
    for (const QString& name : QDir(kept).entryList({"resume-*.txt"})) QFile::remove(kept + u'/' + name);
    QThread::msleep(1500);  // input in the show's first moment is lost
    screen_.Xdotool({"key", "Escape"});
    EXPECT_TRUE(show->EndsCleanly());
    const QStringList names = QDir(kept).entryList({"resume-*.txt"});
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(ReadText(kept + u'/' + names[0]).contains(QStringLiteral("\nEntry=2\n"))) << qPrintable(names[0]);
}

// Every kind of change a show of clips and stills has: clip to still, still
// to still, still to clip and, at the round's end, clip to clip; half way
// through each the screen shows the two colours mixed.
TEST_F(ShowE2E, CrossfadeMixesEachEntrysPictureWithTheNext) {
    MakeStill(program_.file("green.png"), ColourSource(kGreen, 400, 300));
    const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE",
                                  {Entry("red.mp4"), Still("yellow.png"), Still("green.png"), Entry("blue.mp4")},
                                  "--crossfade 1000");
    const PixelProbe probe(screen_.name());  // fast enough for a change of a second
    for (const auto& [from, to] : {std::pair{kRed, kYellow}, {kYellow, kGreen}, {kGreen, kBlue}, {kBlue, kRed}}) {
        const QColor half((from.red() + to.red()) / 2, (from.green() + to.green()) / 2, (from.blue() + to.blue()) / 2);
        EXPECT_TRUE(WaitUntil([&] { return VirtualDisplay::Near(probe.At(640, 360), half); }, 20000, 2)) << qPrintable(from.name());
    }
    // Both clips play to their files' ends, yet go on moving under their fades.
    WaitUntil([this] { return ReadText(program_.file("trace.txt")).count(QStringLiteral("played on")) >= 2; }, 5000);
    const QString trace = ReadText(program_.file("trace.txt"));
    EXPECT_TRUE(trace.contains("crossfade 1000 ms")) << qPrintable(trace);
    static const QRegularExpression playedOn(QStringLiteral(R"(played on (\d+\.\d+) s)"));
    int fadesOut = 0;
    for (auto match = playedOn.globalMatch(trace); match.hasNext(); ++fadesOut)
        EXPECT_GE(match.next().captured(1).toDouble(), 0.5) << qPrintable(trace);
    EXPECT_GE(fadesOut, 2) << qPrintable(trace);
    EXPECT_EQ(show->state(), QProcess::Running);
}

}  // namespace
