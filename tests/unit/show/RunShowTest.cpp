// The show loop: order of the entries, repeats, wrap, the flags that end an
// entry or the show, the entry kinds and the error paths. Clips end on their
// own from the event loop; the show ends when a test raises gQuit.

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <vector>

#include "ShowFixture.h"
#include "platform/resources/StringTable.h"
#include "platform/ui/Twips.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "show/RunShow.h"

namespace {

class RunShowTest : public testsupport::ShowTest {
protected:
    RunShowTest() {
        // A show that goes wrong ends here instead of hanging the tests.
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] { gQuit = true; });
        watchdog_.start(20000);
    }
    // Every clip plays to its end; the show quits at the end of clip number quitAt.
    void ClipsEndAndQuitAt(size_t quitAt) {
        configurePlayer_ = [this, quitAt](testsupport::FakePlayerEngine& player) {
            player.playsToEnd = true;
            player.beforeEnd = [this, quitAt] {
                ended_.push_back(gCurrentIndex);
                if (ended_.size() == quitAt) gQuit = true;
            };
        };
    }
    // Runs the show until it ends the program; calls step every few milliseconds meanwhile.
    void RunToTheEnd(const std::function<void()>& step = {}) {
        QTimer stepper;
        QObject::connect(&stepper, &QTimer::timeout, [&] {
            if (step) step();
        });
        stepper.start(5);
        EXPECT_THROW(RunShow(), vb::ProgramEnded);
        EXPECT_TRUE(watchdog_.isActive()) << "the show did not end by itself";
    }
    std::vector<qint16> ended_;
    QTimer watchdog_;
};

TEST_F(RunShowTest, Sequencing) {
    struct Case {
        int entries, loopsForever;  // the entry with LoopForever (0: none)
        std::vector<qint16> order;
    };
    const Case cases[] = {
        {3, 0, {1, 2, 3, 1, 2, 3, 1}}, {1, 0, {1, 1, 1}}, {3, 2, {1, 2, 2, 2, 2}}, {3, 3, {1, 2, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, " << c.loopsForever << " loops");
        Fresh();
        ended_.clear();
        for (int i = 1; i <= c.entries; ++i) AddEntry(QStringLiteral("clip%1.avi").arg(i));
        if (c.loopsForever != 0) gMovies().Item(c.loopsForever).LetLoopForever(true);
        ClipsEndAndQuitAt(c.order.size());
        const int cursorBefore = CursorShown();
        RunToTheEnd();
        EXPECT_EQ(ended_, c.order);
        EXPECT_EQ(gRunMode, kRunModeShow);
        EXPECT_EQ(CursorShown() - cursorBefore, 1);  // shown once on the way out
        EXPECT_EQ(player_->plays, c.loopsForever == c.order.back() ? 30000 : 1);
    }
}

TEST_F(RunShowTest, AClipThatCannotBeOpenedEndsLikeAnEndOfStream) {
    AddEntry(QStringLiteral("gone.avi"));
    AddEntry(QStringLiteral("here.avi"));
    ClipsEndAndQuitAt(2);
    const auto clipsEnd = configurePlayer_;
    configurePlayer_ = [clipsEnd](testsupport::FakePlayerEngine& player) {
        clipsEnd(player);
        player.unopenable << QStringLiteral("/media/gone.avi");
    };
    RunToTheEnd();
    EXPECT_EQ(ended_, (std::vector<qint16>{2, 2}));  // entry 1 came and went twice
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RunShowTest, StopRequestMovesOnAndQuitWinsOverTheEndOfTheEntry) {
    AddEntry(QStringLiteral("a.avi"));
    AddEntry(QStringLiteral("b.avi"));
    std::vector<qint16> seen;  // each entry once it runs with the stop request cleared
    RunToTheEnd([&] {
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest) return;
        if (!seen.empty() && seen.back() == gCurrentIndex) return;
        seen.push_back(gCurrentIndex);
        if (seen.size() < 3) return TheCover().Form_Click();  // abandons the entry
        gQuit = gEntryDone = true;
    });
    EXPECT_EQ(seen, (std::vector<qint16>{1, 2, 1}));
}

TEST_F(RunShowTest, PlayerEntries) {
    struct Case {
        QString movieName;
        bool realMedia;
        int opens, plays;  // by the load step and the loop
    };
    const Case cases[] = {
        {"a.avi", false, 2, 3},                   // a local clip is played again once ready
        {"mms://example.org/live", false, 2, 2},  // an address is not waited for
        {"a.rm", true, 1, 2},                     // RealMedia is played like any clip
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.movieName.toStdString());
        Fresh();
        ended_.clear();
        Movie& entry = AddEntry(c.movieName);
        entry.LetIsTrueRM(c.realMedia);
        entry.LetBalance(Variant(qint32{1500}));
        ClipsEndAndQuitAt(1);
        RunToTheEnd();
        const QString opened = (c.movieName.contains(u':') ? QString() : QStringLiteral("/media/")) + c.movieName;
        EXPECT_EQ(player_->calls.count(QStringLiteral("Open ") + opened), c.opens);
        EXPECT_EQ(player_->calls.count(QStringLiteral("Play")), c.plays);
        EXPECT_EQ(TheCover().Med_Saver->Balance(), 500);
        EXPECT_TRUE(TheCover().isVisible() && TheCover().Med_Saver->Visible());
        EXPECT_FALSE(TheCover().Img_Stillc->isVisible());
    }
}

TEST_F(RunShowTest, StillPictures) {
    const float width = platform::ScreenWidth(), height = platform::ScreenHeight();
    QImage(40, 10, QImage::Format_RGB32).save(ProgramFile(QStringLiteral("still.png")));
    struct Case {
        qint16 delay, stillW, stillH, storedDelay;
        float left, top, w, h;
    };
    const Case cases[] = {
        {0, qint16(width / 10), qint16(height / 10), 5, 0, 0, width, height},  // the screen's proportions
        {12, 400, 100, 12, 0, height / 2 - width / 8, width, width / 4},    // wide: fitted to the width
        {-3, 100, 200, 5, width / 2 - height / 4, 0, height / 2, height},   // narrow: full height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delay);
        Fresh();
        gSettings().LetStillDelayTimer(c.delay);
        Movie& entry = AddEntry(QStringLiteral("still.png"), folder_.path() + u'/');
        entry.LetIsStill(true);
        entry.LetStillW(c.stillW);
        entry.LetStillH(c.stillH);
        std::vector<int> intervals;
        RunToTheEnd([&] {
            frmCover& cover = TheCover();
            if (!cover.StillTimerc->isActive()) return;
            intervals.push_back(cover.StillTimerc->interval());
            const platform::TwipsRect place = platform::Geometry(*cover.Img_Stillc);
            EXPECT_TRUE(cover.Img_Stillc->isVisible() && cover.Img_Stillc->Stretch() && cover.Img_Stillc->HasPicture());
            EXPECT_FALSE(cover.Med_Saver->Visible());
            EXPECT_NEAR(place.Left, c.left, 15);
            EXPECT_NEAR(place.Top, c.top, 15);
            EXPECT_NEAR(place.Width, c.w, 15);
            EXPECT_NEAR(place.Height, c.h, 15);
            if (intervals.size() == 2) gQuit = true;
            cover.StillTimerc_Timer();  // as if the delay were over
        });
        EXPECT_EQ(intervals, std::vector<int>(2, c.storedDelay * 1000));
        EXPECT_EQ(gSettings().StillDelayTimer(), c.storedDelay);
    }
}

TEST_F(RunShowTest, AnEntryThatCannotBeShownEndsTheProgramWithAMessage) {
    const std::pair<QString, int> cases[] = {{"gone.png", 184}, {"http://example.org/gone.png", 183}};
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name.toStdString());
        Fresh();
        messages_.clear();
        AddEntry(name, folder_.path() + u'/').LetIsStill(true);
        const int cursorBefore = CursorShown();
        RunToTheEnd();
        EXPECT_EQ(messages_, QStringList{platform::LoadResString(text).value() + "|ZOR Movie Location error"});
        EXPECT_EQ(CursorShown() - cursorBefore, 1);
    }
}

// A player that cannot start says nothing about the movies: the start-up's
// handler gets the error and logs it.
TEST_F(RunShowTest, APlayerThatCannotStartIsNoMovieLocationError) {
    AddEntry(QStringLiteral("a.avi"));
    SetCoverMaker([]() -> std::unique_ptr<frmCover> { throw vb::VbError(429, QStringLiteral("no mpv")); });
    try {
        RunShow();
        ADD_FAILURE() << "the show returned";
    } catch (const vb::VbError& e) {
        EXPECT_EQ(e.description(), "no mpv");
    }
    EXPECT_TRUE(messages_.empty());
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
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(players, 2);
    EXPECT_EQ(gWebAddress, "http://example.org/ page.htm");

    // Closed by the user, the page's entry is done and the show window gone.
    gRunMode = kRunModeShow;
    TheCover();
    gStopRequest = gEntryDone = false;
    QTimer::singleShot(0, [] { TheZORWeb().close(); });
    ShowWebEntry(1);
    EXPECT_TRUE(gEntryDone && gStopRequest);
    EXPECT_FALSE(CoverLoaded());
}

TEST_F(RunShowTest, AnEmptyCollectionShowsTheBlackWindowUntilInputEndsIt) {
    const std::vector<std::function<void(frmCover&)>> input = {
        [](frmCover& w) { w.Form_Click(); },                 // a stop request
        [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); },  // an entry done
    };
    size_t given = 0;
    RunToTheEnd([&] {
        // The loop takes each request and goes on waiting with the window shown.
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest || gEntryDone) return;
        if (given == input.size())
            gQuit = true;
        else
            input[given++](TheCover());
    });
    EXPECT_EQ(given, input.size());
    EXPECT_EQ(player_->calls, QStringList{});
}

}  // namespace
