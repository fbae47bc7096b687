// The order of a show: shuffled rounds, where a resumed show starts, and a side show's entries.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "ShowFixture.h"
#include "config/Initialise.h"
#include "show/ResumePlace.h"
#include "show/SideShow.h"
#include "show/ShuffledOrder.h"
#include "support/CollectionFile.h"

using namespace show;

// Over many rounds, with a fresh random seed each run: every position once a
// round, the first round from the position given, never the same position
// twice in a row, and Next always what Take gives.
TEST(ShuffledOrder, EachRoundEveryEntryOnceNeverTwiceInARow) {
    for (const auto& [count, first] : {std::pair{1, 1}, {2, 0}, {2, 2}, {3, 2}, {5, 5}, {8, 0}}) {
        ShuffledOrder order(count, first);
        if (first > 0) {
            ASSERT_EQ(order.Current(), first) << count;
        }
        std::vector<int> all(static_cast<size_t>(count));
        std::iota(all.begin(), all.end(), 1);
        int previous = 0;
        std::set<std::vector<int>> orders;
        for (int round = 0; round < 300; ++round) {
            std::vector<int> played;
            for (int i = 0; i < count; ++i) {
                if (i > 0 || round > 0) {
                    const int next = order.Next();
                    EXPECT_EQ(order.Next(), next);
                    order.Take();
                    EXPECT_EQ(order.Current(), next);
                }
                if (count > 1) {
                    EXPECT_NE(order.Current(), previous) << count << " round " << round;
                }
                previous = order.Current();
                played.push_back(previous);
            }
            orders.insert(played);
            std::sort(played.begin(), played.end());
            EXPECT_EQ(played, all) << count << " round " << round;
        }
        if (count > 2) {
            EXPECT_GT(orders.size(), 1u) << count;  // random, not one order over and over
        }
    }
}

using ResumedShowTest = testsupport::ShowTest;
TEST_F(ResumedShowTest, StartsAtTheKeptEntryASecondBackOrAtTheBeginning) {
    AddEntry(QStringLiteral("red.mp4"), QStringLiteral("/clips/"));
    AddEntry(QStringLiteral("green.mp4"), QStringLiteral("/clips/"));
    const Place kept{"/shows/a.ini", 2, "/clips/green.mp4", 3.5};
    const struct { QByteArray text; qint16 entry; double seconds; } cases[] = {
        {PlaceText(kept), 2, 2.5},
        {PlaceText({"/shows/a.ini", 2, "/clips/green.mp4", 0.4}), 2, 0},      // not below 0
        {PlaceText({"/shows/b.ini", 2, "/clips/green.mp4", 3.5}), 0, 0},      // another collection's
        {PlaceText({"/shows/a.ini", 3, "/clips/green.mp4", 3.5}), 0, 0},      // beyond the collection
        {PlaceText({"/shows/a.ini", 1, "/clips/green.mp4", 3.5}), 0, 0},      // another file there now
        {PlaceText(kept).replace("Entry=2", "Entry=two"), 0, 0},              // broken
        {PlaceText(kept).replace("Seconds=3.500", "Seconds=nan"), 0, 0},
        {PlaceText(kept).mid(1), 0, 0},
        {QByteArray("\0\xff garbage", 10), 0, 0},
    };
    for (const auto& c : cases) {
        const ResumeStart start = StartAt(ReadPlaceText(c.text), "/shows/a.ini", config::gMovies());
        EXPECT_EQ(start.entry, c.entry) << c.text.constData();
        EXPECT_DOUBLE_EQ(start.seconds, c.seconds) << c.text.constData();
    }
}

// What the end of a show keeps is where the next starts: the last entry too,
// and no position of a player that is not showing.
TEST_F(ResumedShowTest, StartsWhereTheLastEnded) {
    const testsupport::ScopedEnv state("XDG_STATE_HOME", folder_.path().toUtf8());
    testsupport::CollectionSpec spec{.entries = {{"a.mkv", folder_.path() + u'/'}, {"b.mkv", folder_.path() + u'/'}}};
    for (const char* clip : {"a.mkv", "b.mkv"}) testsupport::WriteBytes(ProgramFile(clip), "clip");
    testsupport::WriteBytes(ProgramFile("show.ini"), testsupport::CollectionText(spec));
    config::Initialise(ProgramFile("show.ini"));
    state::gCurrentIndex = 0;  // no entry yet: nothing to keep
    SavePlace();
    state::gCurrentIndex = 2;
    TheCover().Med_Saver->LetVisible(false);
    player_->position = 5;
    SavePlace();
    const ResumeStart start = KeptStart();
    EXPECT_EQ(std::pair(start.entry, start.seconds), std::pair(qint16(2), 0.0));
    EXPECT_FALSE(QFile::exists(config::gSettings().ErrorLog()));  // kept without a word
}

// A side show begins the given number of entries after the primary show's,
// passing over pages, and moves on when the primary show comes to its entry.
using SideShowTest = testsupport::ShowTest;
TEST_F(SideShowTest, BeginsEntriesOnAndMovesOnFromThePrimarysEntry) {
    const testsupport::ScopedEnv headless("ZORSCR_MPV_HEADLESS", "1");
    AddEntry(QStringLiteral("page.htm")).LetIsHTML(true);
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue}) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(colour);
        picture.save(ProgramFile(colour.name().mid(1) + QStringLiteral(".png")));
        AddEntry(colour.name().mid(1) + QStringLiteral(".png"), folder_.path() + u'/').LetIsStill(true);
    }
    state::gCurrentIndex = 3;
    SideShow side(QGuiApplication::primaryScreen(), 1);
    const auto shown = [&side] {
        QCoreApplication::processEvents();
        return side.grab().toImage().pixelColor(side.rect().center());
    };
    EXPECT_EQ(shown(), QColor(Qt::blue));
    state::gCurrentIndex = 4;
    side.PrimaryStarted(4);
    EXPECT_EQ(shown(), QColor(Qt::red));
}
