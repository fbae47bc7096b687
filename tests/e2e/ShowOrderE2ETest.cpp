// The order of the show as the switches change it: --shuffle and --resume.
// Which clip the player opened, and from where, is read from its trace.

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>

#include "ShowE2E.h"

using namespace testsupport;

namespace {

class ShowOrderE2E : public ShowE2E {
protected:
    // The clips opened (file names), from the trace, once at least count
    // are there or after 30 s. The show's first clip is opened twice at the
    // start (by the window's load step and by the loop): it counts once.
    QStringList Opened(int count) const {
        static const QRegularExpression open(QStringLiteral(R"(\) open \S*/([^/\s]+)\n)"));
        QStringList names;
        WaitUntil([&] {
            names.clear();
            for (const auto& match : open.globalMatch(ReadText(program_.file("trace.txt")))) names << match.captured(1);
            if (!names.isEmpty()) names.removeFirst();
            return names.size() >= count + 1;
        }, 30000, 200);
        return names.mid(0, count);
    }
};

TEST_F(ShowOrderE2E, ShuffleShowsEachEntryOnceARoundNeverTwiceInARow) {
    const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4"), Entry("green.mp4"), Entry("blue.mp4")},
                                  "--shuffle");
    // Rounds until one is not in the collection's order: a shuffled round is
    // by chance at most one time in four, so eight in a row are not.
    const QStringList collectionOrder{"red.mp4", "green.mp4", "blue.mp4"};
    const auto inCollectionOrder = [&](const QStringList& names) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i] != collectionOrder[i % 3]) return false;
        return true;
    };
    QStringList opened = Opened(6);
    while (opened.size() % 3 == 0 && opened.size() < 24 && inCollectionOrder(opened)) opened = Opened(opened.size() + 3);
    ASSERT_GE(opened.size(), 6) << qPrintable(opened.join(' '));
    EXPECT_FALSE(inCollectionOrder(opened)) << qPrintable(opened.join(' '));
    for (int round = 0; round < opened.size() / 3; ++round) {
        QStringList names = opened.mid(round * 3, 3);
        names.sort();
        EXPECT_EQ(names, QStringList({"blue.mp4", "green.mp4", "red.mp4"})) << qPrintable(opened.join(' '));
    }
    for (int i = 1; i < opened.size(); ++i) EXPECT_NE(opened[i], opened[i - 1]) << qPrintable(opened.join(' '));
    // The clip prepared in advance was the one the order took next, each time.
    EXPECT_GE(ReadText(program_.file("trace.txt")).count(QStringLiteral("prepared clip taken")), 5);
}

// Ended by its host's signal during entry 2 at about 3 s, the next show of the
// collection starts with entry 2 about a second earlier; ended by a key, it
// keeps its place again.
TEST_F(ShowOrderE2E, ResumeStartsWhereTheLastShowEnded) {
    MakeClip(program_.file("long-green.mp4"), ColourSource(kGreen), 30);
    const ScopedEnv state("XDG_STATE_HOME", QFile::encodeName(program_.file("state")));
    const QList<EntrySpec> entries{Entry("red.mp4"), Entry("long-green.mp4"), Entry("blue.mp4")};
    auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", entries, "--resume");
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    QThread::msleep(3000);
    show->terminate();
    ASSERT_TRUE(show->waitForFinished(5000));

    show = StartTraced("SCREENSAVER_NOMOUSEMOVE", entries, "--resume");
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    const QString trace = ReadText(program_.file("trace.txt"));
    static const QRegularExpression firstOpen(QStringLiteral(R"(\) open \S*/([^/\s]+)\n)"));
    EXPECT_EQ(firstOpen.match(trace).captured(1), "long-green.mp4") << qPrintable(trace);
    static const QRegularExpression from(QStringLiteral(R"(loadfile from ([0-9.]+) s)"));
    const double seconds = from.match(trace).captured(1).toDouble();
    EXPECT_GT(seconds, 1.5) << qPrintable(trace);
    EXPECT_LT(seconds, 3.5) << qPrintable(trace);

    QThread::msleep(1000);
    screen_.Xdotool({"key", "Escape"});
    EXPECT_TRUE(show->EndsCleanly());
    const QStringList kept = QDir(program_.file("state/ZORScr")).entryList({"resume-*.txt"});
    ASSERT_EQ(kept.size(), 1);
    const QString place = ReadText(program_.file("state/ZORScr/" + kept[0]));
    EXPECT_TRUE(place.contains(QStringLiteral("\nEntry=2\n"))) << qPrintable(place);
    static const QRegularExpression keptSeconds(QStringLiteral(R"(Seconds=([0-9.]+))"));
    EXPECT_GT(keptSeconds.match(place).captured(1).toDouble(), seconds + 0.5) << qPrintable(place);
}

}  // namespace
