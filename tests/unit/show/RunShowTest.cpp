// The show loop: order of the entries, repeats, wrap, the flags that end an
// entry or the show, the entry kinds and the error paths. Clips end on their
// own from the event loop; the show ends when a test raises gQuit.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <vector>

#include "ShowFixture.h"
#include "config/Instances.h"
#include "platform/resources/StringTable.h"
#include "platform/vb/EndProgram.h"
#include "show/Crossfades.h"
#include "show/RunShow.h"
#include "show/StillPicture.h"
#include "state/ShowOptions.h"

using namespace state;
using namespace config;
using namespace show;

namespace {

class RunShowTest : public testsupport::ShowTest {
protected:
    // Every clip plays to its end; the show quits at the end of clip number quitAt.
    void ClipsEndAndQuitAt(size_t quitAt) {
        ended_.clear();
        configurePlayer_ = [this, quitAt](testsupport::FakePlayerEngine& player) {
            player.playsToEnd = true;
            player.beforeEnd = [this, quitAt] {
                ended_.push_back(gCurrentIndex);
                if (ended_.size() == quitAt) gQuit = true;
            };
        };
    }
    // Runs the show until it ends the program, calling step every few
    // milliseconds meanwhile; after 20 s a show that went wrong is quit.
    void RunToTheEnd(const std::function<void()>& step = [] {}) {
        QTimer stepper, watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&stepper, &QTimer::timeout, step);
        QObject::connect(&watchdog, &QTimer::timeout, [] { gQuit = true; });
        stepper.start(5);
        watchdog.start(20000);
        EXPECT_THROW(RunShow(), vb::ProgramEnded);
        EXPECT_TRUE(watchdog.isActive()) << "the show did not end by itself";
    }
    std::vector<qint16> ended_;
};

// Each row: the entries, the one looping forever (0: none), the order played.
TEST_F(RunShowTest, Sequencing) {
    const std::tuple<int, int, std::vector<qint16>> cases[] = {
        {3, 0, {1, 2, 3, 1, 2, 3, 1}}, {3, 2, {1, 2, 2, 2, 2}}, {3, 3, {1, 2, 3, 3, 3}}};
    for (const auto& [entries, loopsForever, order] : cases) {
        Fresh();
        for (int i = 1; i <= entries; ++i) AddEntry(QStringLiteral("clip%1.avi").arg(i));
        if (loopsForever != 0) gMovies().Item(loopsForever).LetLoopForever(true);
        ClipsEndAndQuitAt(order.size());
        const int cursorBefore = CursorShown();
        RunToTheEnd();
        EXPECT_EQ(ended_, order);
        EXPECT_EQ(gRunMode, kRunModeShow);
        EXPECT_EQ(CursorShown() - cursorBefore, 1);  // shown once on the way out
        EXPECT_EQ(player_->plays, loopsForever == order.back() ? 30000 : 1);
    }
    // A click abandons the entry; a quit wins over the end of an entry.
    Fresh();
    configurePlayer_ = {};  // clips that do not end by themselves
    AddEntry(QStringLiteral("a.avi"));
    AddEntry(QStringLiteral("b.avi"));
    std::vector<qint16> seen;
    RunToTheEnd([&] {
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest) return;
        if (!seen.empty() && seen.back() == gCurrentIndex) return;
        seen.push_back(gCurrentIndex);
        if (seen.size() < 3) return TheCover().Form_Click();
        gQuit = gEntryDone = true;
    });
    EXPECT_EQ(seen, (std::vector<qint16>{1, 2, 1}));
}

// A local clip is played again once ready, an address is not waited for,
// RealMedia plays like any clip (here also looping forever); opens and plays
// count the load step's too. Settings: amplitude, gains, speed, part, plays.
TEST_F(RunShowTest, PlayerEntries) {
    const struct { QString name; bool realMedia; qint32 speed; qint16 volume; double start, end; int opens, plays;
                   QString settings; } cases[] = {
        {"a.avi", false, 10, 0, 0, 0, 2, 3, "1 0.1/1 x1 0-0 1"},
        {"mms://example.org/live", false, 5, 500, 2.5, 7, 2, 2, "0.5623 0.1/1 x0.5 2.5-7 1"},
        {"a.rm", true, 20, 1200, 1, 3, 1, 2, "0.2512 0.1/1 x2 1-3 30000"},
    };
    for (const auto& c : cases) {
        Fresh();
        Movie& entry = AddEntry(c.name);
        entry.LetIsTrueRM(c.realMedia);
        entry.LetLoopForever(c.realMedia);
        entry.LetPlayspeed(c.speed);
        entry.Letvolume(c.volume);
        entry.LetLoopStart(c.start);
        entry.LetLoopEnd(c.end);
        entry.LetBalance(Variant(qint32{3000}));  // stored offset by 1000: the left 20 dB down
        ClipsEndAndQuitAt(1);
        RunToTheEnd();
        const QString opened = (c.name.contains(u':') ? QString() : QStringLiteral("/media/")) + c.name;
        EXPECT_EQ(player_->calls.count(QStringLiteral("Open ") + opened), c.opens);
        EXPECT_EQ(player_->calls.count(QStringLiteral("Play")), c.plays);
        EXPECT_EQ(player_->Settings(), c.settings);
        EXPECT_EQ(player_->position, c.start);  // playback starts at the loop start
        EXPECT_TRUE(TheCover().isVisible() && TheCover().Med_Saver->Visible() && !TheCover().Img_Stillc->isVisible());
    }
}

// While an entry is shown the player readies the clip the loop takes next:
// with its loop start, wrapping at the end; not an address, a page, a still
// or the clip again after one that loops forever. Each row: the entries
// ('@' a loop start, '*' loops forever), the entries shown, what was prepared.
TEST_F(RunShowTest, PreparesTheClipTheLoopTakesNext) {
    testsupport::MakeStill(ProgramFile("s.png"), testsupport::ColourSource(Qt::red, 40, 30));
    const std::tuple<QStringList, size_t, QStringList> cases[] = {
        {{"a.avi", "b.avi@2.5"}, 3, {"/media/b.avi 2.5", "/media/a.avi 0", "/media/b.avi 2.5"}},
        {{"a.avi", "mms://example.org/live", "c.avi"}, 3, {"/media/c.avi 0", "/media/a.avi 0"}},
        {{"a.avi", "b.avi*"}, 3, {"/media/b.avi 0"}},
        {{"a.avi", "page.htm", "s.png", "c.avi"}, 4, {"/media/c.avi 0", "/media/a.avi 0"}},
    };
    for (const auto& [names, shown, prepared] : cases) {
        Fresh();
        prepared_.clear();
        for (QString name : names) {
            const bool forever = name.endsWith(u'*');
            const QStringList parts = name.remove(u'*').split(u'@');
            Movie& entry = parts[0] == "s.png" ? AddEntry(parts[0], folder_.path() + u'/') : AddEntry(parts[0]);
            entry.LetLoopForever(forever);
            entry.LetLoopStart(parts.value(1, "0").toDouble());
            entry.LetIsStill(parts[0].endsWith(".png"));
            entry.LetIsHTML(parts[0].endsWith(".htm"));
        }
        const quint32 before = gEntriesStarted;
        RunToTheEnd([&] {  // each entry ends after it started and its successor was prepared
            if (gEntriesStarted - before >= shown) gQuit = true;
            else if (ZORWebLoaded() && TheZORWeb().isVisible()) TheZORWeb().Cmd_ContShow_Click();
            else gEntryDone = true;
        });
        EXPECT_EQ(prepared_, prepared) << names.join(u' ').toStdString();
    }
}

// A picture on a server that cannot be shown gives the message about a slow
// connection.
TEST_F(RunShowTest, AStillThatCannotBeShownEndsTheProgram) {
    AddEntry(QStringLiteral("http://example.org/gone.png")).LetIsStill(true);
    RunToTheEnd();
    EXPECT_EQ(boxes_, QStringList{"ZOR Movie Location error: " + platform::LoadResString(183).value()});
    EXPECT_EQ(CursorShown(), 1);
}

// A collection of clips that all fail logs each once and pauses between
// rounds instead of reopening them without end.
TEST_F(RunShowTest, AllEntriesFailingPauseBetweenRounds) {
    AddEntry(QStringLiteral("bad1.mp4"));
    AddEntry(QStringLiteral("bad2.mp4"));
    configurePlayer_ = [](testsupport::FakePlayerEngine& player) { player.failsToOpen = true; };
    QElapsedTimer clock;
    clock.start();
    qsizetype opensIn1500Ms = -1;
    RunToTheEnd([&] {
        if (clock.elapsed() < 1500) return;
        if (opensIn1500Ms < 0) opensIn1500Ms = player_->calls.filter(QStringLiteral("Open ")).size();
        gQuit = true;
    });
    EXPECT_GE(opensIn1500Ms, 2);
    EXPECT_LE(opensIn1500Ms, 5);  // two rounds (the first, one after a second's pause) and the load step's open
    EXPECT_EQ(testsupport::ReadText(gSettings().ErrorLog()).count(QStringLiteral("Media player error: cannot open")), 2);
}

TEST_F(RunShowTest, AStillWithoutASizeTakesThePicturesOwn) {
    testsupport::MakeStill(ProgramFile("wide.png"), testsupport::ColourSource(Qt::red, 400, 100));
    for (const auto& [width, height] : {std::pair{0, 0}, {400, -1}}) {
        Movie& still = AddEntry(QStringLiteral("wide.png"), folder_.path() + u'/');
        still.LetIsStill(true), still.LetStillW(qint16(width)), still.LetStillH(qint16(height));
        ShowStillPicture(TheCover(), still);
        const QRect placed = TheCover().Img_Stillc->geometry();
        EXPECT_NEAR(double(placed.width()) / placed.height(), 4.0, 0.05) << width << 'x' << height;
    }
    EXPECT_TRUE(boxes_.isEmpty());
}

// A crossfade starts from the still the window showed, though the window no
// longer holds it: a fading copy over the next still, the clip's first picture.
TEST_F(RunShowTest, ACrossfadeStartsFromTheStillBefore) {
    SetShowOptions({.crossfadeMs = 500});
    testsupport::MakeStill(ProgramFile("red.png"), testsupport::ColourSource(Qt::red, 40, 30));
    frmCover& cover = TheCover();
    cover.show();
    Movie& still = AddEntry(QStringLiteral("red.png"), folder_.path() + u'/');
    still.LetIsStill(true);
    ShowStillPicture(cover, still);
    const Outgoing before = TakeOutgoing(cover);
    const qsizetype windows = cover.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
    cover.Img_Stillc->LoadPicture(QString());
    FadeIntoStill(cover, before);
    EXPECT_EQ(cover.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), windows + 1);
    cover.Med_Saver->setGeometry(cover.Img_Stillc->geometry());
    FadeIntoClip(cover, before);
    EXPECT_GT(qRed(player_->fadedFrom.pixel(20, 15)), 200);  // not the black of the emptied window
    SetShowOptions({});
}

TEST_F(RunShowTest, AWebPageBetweenClipsGetsAFreshShowWindow) {
    AddEntry(QStringLiteral("page.htm"), QStringLiteral(" http://example.org/ ")).LetIsHTML(true);
    AddEntry(QStringLiteral("a.avi"));
    int players = 0, pages = 0;
    ClipsEndAndQuitAt(2);
    const auto clipsEnd = configurePlayer_;
    configurePlayer_ = [&](testsupport::FakePlayerEngine& player) { clipsEnd(player), ++players; };
    gQuit = true;  // left from before the show: it does not end it
    RunToTheEnd([&] {
        if (!ZORWebLoaded() || !TheZORWeb().isVisible()) return;
        ++pages;
        EXPECT_FALSE(CoverLoaded());
        TheZORWeb().Cmd_ContShow_Click();
    });
    EXPECT_EQ(ended_, (std::vector<qint16>{2, 2}));
    EXPECT_EQ(std::make_pair(pages, players), std::make_pair(2, 2));
    EXPECT_EQ(gWebAddress, "http://example.org/ page.htm");
}

TEST_F(RunShowTest, AnEmptyCollectionShowsTheBlackWindowUntilInputEndsIt) {
    int given = 0;
    RunToTheEnd([&] {
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest || gEntryDone) return;
        if (given == 0) TheCover().Form_Click();                 // a stop request
        if (given == 1) TheCover().Med_Saver_Click(1, 0, 0, 0);  // an entry done
        if (given++ == 2) gQuit = true;
    });
    EXPECT_EQ(given, 3);
    EXPECT_EQ(player_->calls, QStringList{});
}

}  // namespace
