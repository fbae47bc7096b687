// The show loop: order of the entries, repeats, wrap, the flags that end an
// entry or the show, the entry kinds and the error path. Clips end on their
// own from the event loop; the show ends when a test raises gQuit.

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <vector>

#include "config/Instances.h"
#include "platform/resources/StringTable.h"
#include "platform/ui/Twips.h"
#include "platform/vb/EndProgram.h"
#include "show/RunShow.h"
#include "ShowFixture.h"

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
        configurePlayer_ = [this, quitAt](testsupport::ScriptedPlayer& player) {
            player.playsToEnd = true;
            player.beforeEnd = [this, quitAt] {
                ended_.push_back(gCurrentIndex);
                if (ended_.size() == quitAt) gQuit = true;
            };
        };
    }

    // Runs the show until it ends the program.
    void RunToTheEnd() {
        EXPECT_THROW(RunShow(), vb::ProgramEnded);
        EXPECT_TRUE(watchdog_.isActive()) << "the show did not end by itself";
    }

    QString Picture(const QString& name) {
        QImage image(40, 10, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(ProgramFile(name));
        return name;
    }

    std::vector<qint16> ended_;
    QTimer watchdog_;
};

TEST_F(RunShowTest, Sequencing) {
    struct Case {
        const char* name;
        int entries;
        int loopsForever;  // entry with LoopForever (0: none)
        std::vector<qint16> order;
    };
    const Case cases[] = {
        {"in order, wrapping after the last", 3, 0, {1, 2, 3, 1, 2, 3, 1}},
        {"a single entry", 1, 0, {1, 1, 1}},
        {"an entry that loops forever", 3, 2, {1, 2, 2, 2, 2}},
        {"the last entry loops forever", 3, 3, {1, 2, 3, 3, 3}},
        {"a single entry that loops forever", 1, 1, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        UnloadCover();
        ended_.clear();
        for (int i = 1; i <= c.entries; ++i) AddEntry(QStringLiteral("clip%1.avi").arg(i));
        if (c.loopsForever != 0) gMovies().Item(c.loopsForever).LetLoopForever(true);
        ClipsEndAndQuitAt(c.order.size());
        const int cursorBefore = CursorShown();
        RunToTheEnd();
        EXPECT_EQ(ended_, c.order);
        EXPECT_EQ(gRunMode, 2);
        EXPECT_EQ(CursorShown() - cursorBefore, 1);  // shown once on the way out
        EXPECT_EQ(player_->plays, c.loopsForever == c.order.back() ? 30000 : 1);
    }
}

TEST_F(RunShowTest, AClipThatCannotBeOpenedEndsLikeAnEndOfStream) {
    AddEntry(QStringLiteral("gone.avi"));
    AddEntry(QStringLiteral("here.avi"));
    ClipsEndAndQuitAt(2);
    const auto clipsEnd = configurePlayer_;
    configurePlayer_ = [clipsEnd](testsupport::ScriptedPlayer& player) {
        clipsEnd(player);
        player.unopenable << QStringLiteral("/media/gone.avi");
    };
    RunToTheEnd();
    EXPECT_EQ(ended_, (std::vector<qint16>{2, 2}));  // entry 1 came and went twice
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RunShowTest, QuitWinsOverTheEndOfTheEntry) {
    AddEntry(QStringLiteral("a.avi"));
    AddEntry(QStringLiteral("b.avi"));
    ClipsEndAndQuitAt(1);  // gQuit and gEntryDone together
    RunToTheEnd();
    EXPECT_EQ(ended_, std::vector<qint16>{1});
}

TEST_F(RunShowTest, AStopRequestMovesOnAndIsCleared) {
    AddEntry(QStringLiteral("a.avi"));
    AddEntry(QStringLiteral("b.avi"));
    std::vector<qint16> seen;  // each entry once it runs with the stop request cleared
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest) return;
        if (!seen.empty() && seen.back() == gCurrentIndex) return;
        seen.push_back(gCurrentIndex);
        if (seen.size() == 3)
            gQuit = true;
        else
            TheCover().Form_Click();  // abandons the entry
    });
    clicker.start(5);
    RunToTheEnd();
    EXPECT_EQ(seen, (std::vector<qint16>{1, 2, 1}));
}

TEST_F(RunShowTest, PlayerEntries) {
    struct Case {
        const char* name;
        QString movieName;
        bool realMedia;
        QString opened;
        int opens, plays;  // calls of the show window's player: by the load step and the loop
    };
    const Case cases[] = {
        {"a local clip is played again once ready", QStringLiteral("a.avi"), false, QStringLiteral("/media/a.avi"), 2, 3},
        {"an address is not waited for", QStringLiteral("mms://example.org/live"), false,
         QStringLiteral("mms://example.org/live"), 2, 2},
        {"RealMedia is played like any clip", QStringLiteral("a.rm"), true, QStringLiteral("/media/a.rm"), 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        UnloadCover();
        ended_.clear();
        Movie& entry = AddEntry(c.movieName);
        entry.LetIsTrueRM(c.realMedia);
        entry.LetBalance(Variant(qint32{1500}));
        ClipsEndAndQuitAt(1);
        RunToTheEnd();
        EXPECT_EQ(ended_, std::vector<qint16>{1});
        EXPECT_EQ(player_->calls.count(QStringLiteral("Open ") + c.opened), c.opens);
        EXPECT_EQ(player_->calls.count(QStringLiteral("Play")), c.plays);
        EXPECT_EQ(TheCover().Med_Saver->Balance(), 500);
        EXPECT_TRUE(TheCover().isVisible());
        EXPECT_TRUE(TheCover().Med_Saver->Visible());
        EXPECT_FALSE(TheCover().Img_Stillc->isVisible());
    }
}

TEST_F(RunShowTest, StillPictures) {
    const float screenWidth = platform::ScreenWidth(), screenHeight = platform::ScreenHeight();
    const float pixel = platform::TwipsPerPixelX();
    struct Case {
        const char* name;
        qint16 delay;
        qint16 stillW, stillH;
        qint16 storedDelay;
        float left, top, width, height;
    };
    const Case cases[] = {
        {"screen proportions fill the screen", 0, qint16(screenWidth / 10), qint16(screenHeight / 10), 5, 0, 0,
         screenWidth, screenHeight},
        {"four times as wide: fitted to the width, centred", 12, 400, 100, 12, 0, screenHeight / 2 - screenWidth / 8,
         screenWidth, screenWidth / 4},
        {"narrow: full height, centred", -3, 100, 200, 5, screenWidth / 2 - screenHeight / 4, 0, screenHeight / 2,
         screenHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        UnloadCover();
        gSettings().LetStillDelayTimer(c.delay);
        Movie& entry = AddEntry(Picture(QStringLiteral("still.png")), folder_.path() + u'/');
        entry.LetIsStill(true);
        entry.LetStillW(c.stillW);
        entry.LetStillH(c.stillH);
        std::vector<int> intervals;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            frmCover& cover = TheCover();
            if (!cover.StillTimerc->isActive()) return;
            intervals.push_back(cover.StillTimerc->interval());
            const platform::TwipsRect place = platform::Geometry(*cover.Img_Stillc);
            EXPECT_TRUE(cover.Img_Stillc->isVisible());
            EXPECT_TRUE(cover.Img_Stillc->Stretch());
            EXPECT_TRUE(cover.Img_Stillc->HasPicture());
            EXPECT_FALSE(cover.Med_Saver->Visible());
            EXPECT_NEAR(place.Left, c.left, pixel);
            EXPECT_NEAR(place.Top, c.top, pixel);
            EXPECT_NEAR(place.Width, c.width, pixel);
            EXPECT_NEAR(place.Height, c.height, pixel);
            if (intervals.size() == 2) gQuit = true;
            cover.StillTimerc_Timer();  // as if the delay were over
        });
        check.start(5);
        RunToTheEnd();
        EXPECT_EQ(intervals, (std::vector<int>{c.storedDelay * 1000, c.storedDelay * 1000}));
        EXPECT_EQ(gSettings().StillDelayTimer(), c.storedDelay);
    }
}

TEST_F(RunShowTest, AnEntryThatCannotBeShownEndsTheProgramWithAMessage) {
    struct Case {
        const char* name;
        QString movieName;
        int text;
    };
    const Case cases[] = {
        {"a picture that has gone", QStringLiteral("gone.png"), 184},
        {"a picture on a server", QStringLiteral("http://example.org/gone.png"), 183},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        UnloadCover();
        messages_.clear();
        AddEntry(c.movieName, folder_.path() + u'/').LetIsStill(true);
        const int cursorBefore = CursorShown();
        RunToTheEnd();
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].first, platform::LoadResString(c.text).value());
        EXPECT_EQ(messages_[0].second, "ZOR Movie Location error");
        EXPECT_EQ(CursorShown() - cursorBefore, 1);
    }
}

TEST_F(RunShowTest, WebPageAddress) {
    const QString longPath = QString(128, u'p');
    struct Case {
        const char* name;
        QString path, movieName;
        QString address;
    };
    const Case cases[] = {
        {"path and name", QStringLiteral(" http://example.org/ "), QStringLiteral("a.htm "),
         QStringLiteral("http://example.org/ a.htm")},
        {"blank path", QStringLiteral("   "), QStringLiteral(" http://example.org/b.htm "),
         QStringLiteral("http://example.org/b.htm")},
        {"path of 128 characters", longPath, QStringLiteral("c.htm"), QStringLiteral("c.htm")},
        {"path of 127 characters", longPath.left(127), QStringLiteral("c.htm"), longPath.left(127) + "c.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        gRunMode = 2;
        Movie& entry = AddEntry(c.movieName, c.path);
        entry.LetIsHTML(true);
        TheCover();
        gStopRequest = false;
        QTimer::singleShot(0, [] { TheZORWeb().close(); });  // closed by the user: no flag of its own
        ShowWebEntry(1);
        EXPECT_EQ(gWebAddress, c.address);
        EXPECT_TRUE(gEntryDone);
        EXPECT_TRUE(gStopRequest);  // the show window was unloaded
        EXPECT_FALSE(CoverLoaded());
    }
}

TEST_F(RunShowTest, AWebPageBetweenClipsGetsAFreshShowWindow) {
    AddEntry(QStringLiteral("a.avi"));
    AddEntry(QStringLiteral("page.htm"), QStringLiteral("http://example.org/")).LetIsHTML(true);
    std::vector<const testsupport::ScriptedPlayer*> players;
    configurePlayer_ = [&](testsupport::ScriptedPlayer& player) {
        players.push_back(&player);
        player.playsToEnd = true;
        player.beforeEnd = [this] {
            ended_.push_back(gCurrentIndex);
            if (ended_.size() == 2) gQuit = true;
        };
    };
    QTimer pageReader;
    int pages = 0;
    QObject::connect(&pageReader, &QTimer::timeout, [&] {
        if (!ZORWebLoaded() || !TheZORWeb().isVisible()) return;
        ++pages;
        EXPECT_FALSE(CoverLoaded());
        TheZORWeb().Cmd_ContShow_Click();
    });
    pageReader.start(5);
    RunToTheEnd();
    EXPECT_EQ(ended_, (std::vector<qint16>{1, 1}));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(players.size(), 2u);
    EXPECT_EQ(gWebAddress, "http://example.org/page.htm");
}

TEST_F(RunShowTest, AnEmptyCollectionShowsTheBlackWindowUntilInputEndsIt) {
    const std::vector<std::function<void(frmCover&)>> input = {
        [](frmCover& w) { w.Form_Click(); },             // a stop request
        [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); },  // an entry done
    };
    size_t given = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        // The loop takes each request and goes on waiting with the window shown.
        if (!CoverLoaded() || !TheCover().isVisible() || gStopRequest || gEntryDone) return;
        if (given == input.size())
            gQuit = true;
        else
            input[given++](TheCover());
    });
    user.start(5);
    RunToTheEnd();
    EXPECT_EQ(given, input.size());
    EXPECT_EQ(player_->calls, QStringList{});
}

}  // namespace
