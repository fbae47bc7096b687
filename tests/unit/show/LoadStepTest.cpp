// The show window's load step: the preview plays the first entry without
// end; a show configures and starts a plain player entry; everything else is
// left to the show loop. Twips at 96 DPI: 15 to the pixel.

#include <gtest/gtest.h>

#include "ShowFixture.h"
#include "platform/ui/Twips.h"
#include "show/ShowRules.h"

namespace {

class LoadStepTest : public testsupport::ShowTest {
protected:
    // A fresh state with entries 1 ("one.avi") and 2 (name), entry 2 current,
    // in the given run mode; the window is made when the test touches it.
    Movie& Second(qint16 runMode, const QString& name = QStringLiteral("two.avi")) {
        Fresh();
        gRunMode = runMode;
        AddEntry(QStringLiteral("one.avi"));
        gCurrentIndex = 2;
        gStopRequest = true;
        return AddEntry(name);
    }
};

TEST_F(LoadStepTest, PreviewPlaysTheFirstEntryWithoutEnd) {
    const std::pair<const char*, QStringList> cases[] = {
        {"video", {"Close", "Open /media/one.avi", "Play", "Play"}}, {"web", {}}, {"still", {}}};
    for (const auto& [kind, calls] : cases) {
        SCOPED_TRACE(kind);
        Second(kRunModePreview);
        gMovies().Item(1).LetIsHTML(kind == std::string("web"));
        gMovies().Item(1).LetIsStill(kind == std::string("still"));
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_EQ(player_->calls, calls);
        EXPECT_TRUE(gStopRequest);  // only the show's branch clears it
        EXPECT_FALSE(TheCover().isFullScreen());  // the start-up places it
        if (calls.isEmpty()) continue;
        EXPECT_EQ(std::make_tuple(player.PlayCount(), player.DisplaySize(), player.AutoRewind(), player.Top()),
                  std::make_tuple(0, Med_Saver::kFitToControl, true, 0.0f));
    }
}

TEST_F(LoadStepTest, ShowConfiguresAPlayerEntry) {
    struct Case {
        qint32 playspeed;
        qint16 volume;
        double loopStart, loopEnd;
        bool remoteRepeat, loopForever;
        double rate;
        qint32 playerVolume, playCount;
    };
    const Case cases[] = {
        {10, 0, 0, 0, false, false, 1.0, 0, 1},
        {5, 500, 2.5, 7, false, false, 0.5, -500, 1},
        {20, 1200, 1, 3, true, false, 2.0, -1200, 30000},  // repeat asked for on the remote
        {10, 0, 0, 0, false, true, 1.0, 0, 1},             // looping forever is the loop's business
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playspeed);
        Movie& entry = Second(kRunModeShow);
        entry.LetPlayspeed(c.playspeed);
        entry.Letvolume(c.volume);
        entry.LetLoopStart(c.loopStart);
        entry.LetLoopEnd(c.loopEnd);
        entry.LetRemoteRepeat(c.remoteRepeat);
        entry.LetLoopForever(c.loopForever);
        entry.LetBalance(Variant(qint32{1500}));
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_FALSE(gStopRequest);
        EXPECT_TRUE(TheCover().isFullScreen());
        EXPECT_EQ(player.FileName(), "/media/two.avi");
        EXPECT_DOUBLE_EQ(player.Rate(), c.rate);
        EXPECT_EQ(player.Volume(), c.playerVolume);
        EXPECT_EQ(player.Balance(), 0);  // centred whatever the entry holds
        EXPECT_DOUBLE_EQ(player.SelectionEnd(), c.loopEnd);
        EXPECT_DOUBLE_EQ(player_->position, c.loopStart);  // playback starts at the loop start
        EXPECT_EQ(player.PlayCount(), c.playCount);
        EXPECT_FALSE(player.AddressMode());
        EXPECT_TRUE(player.Visible() && player.AutoStart());
        EXPECT_EQ(player_->calls.last(), "Play");
    }
    Second(kRunModeShow, QStringLiteral("http://example.org/live.asf"));
    EXPECT_TRUE(TheCover().Med_Saver->AddressMode());
    EXPECT_EQ(TheCover().Med_Saver->FileName(), "http://example.org/live.asf");  // an address is given alone
}

TEST_F(LoadStepTest, ShowLeavesOtherKindsToTheLoop) {
    struct Case {
        QString movieName;
        bool qt4, realMedia, web, still;
        bool stopCleared;
    };
    const Case cases[] = {
        {"Track01.cda", false, false, false, false, true}, {"Track01.CDA", true, false, false, false, true},
        {"clip.mov", true, false, false, false, true},     {"clip.rm", false, true, false, false, true},
        {"page.htm", false, false, true, false, false},    {"photo.png", false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.movieName.toStdString());
        Movie& entry = Second(kRunModeShow, c.movieName);
        entry.LetIsTrueQT4(c.qt4);
        entry.LetIsTrueRM(c.realMedia);
        entry.LetIsHTML(c.web);
        entry.LetIsStill(c.still);
        TheCover();
        EXPECT_EQ(player_->calls, QStringList{});
        EXPECT_EQ(gStopRequest, !c.stopCleared);
    }
    Second(kRunModeShow);
    gCurrentIndex = 7;  // no such entry: the step gives up silently
    TheCover();
    EXPECT_EQ(player_->calls, QStringList{});
}

TEST_F(LoadStepTest, LayoutRule) {
    const float width = platform::ScreenWidth(), height = platform::ScreenHeight();
    struct Case {
        bool fullScreen;
        qint32 playsize, displaySize;
        float left, top, w, h;
        qint32 storedPlaysize;
    };
    const Case cases[] = {
        {true, 0, Med_Saver::kFitToControl, 0, 0, width, height, 0},
        {false, 3000, Med_Saver::kFitToControl, width / 2 - 1500, height / 2 - 1500, 3000, 3000, 3000},
        {false, 0, Med_Saver::kOwnSize, width / 2 - 2400, height / 2 - 1800, 4800, 3600, 3600},  // 320 x 240
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playsize);
        Movie& entry = Second(kRunModeShow);
        entry.LetPlayFullScreen(c.fullScreen);
        entry.LetPlaysize(c.playsize);
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_EQ(player.DisplaySize(), c.displaySize);
        const platform::TwipsRect place{player.Left(), player.Top(), player.Width(), player.Height()};
        EXPECT_NEAR(place.Left, c.left, 15);
        EXPECT_NEAR(place.Top, c.top, 15);
        EXPECT_EQ(std::make_pair(place.Width, place.Height), std::make_pair(c.w, c.h));
        EXPECT_EQ(entry.Playsize(), c.storedPlaysize);
    }
}

TEST(ShowRulesTest, EntryExtension) {
    const std::pair<QString, QString> cases[] = {
        {"track01.cda", "cda"}, {"clip.qt", "qt"}, {"x..", "."}, {"movie", "vie"}, {"ab", "ab"}, {"", ""},
        {QStringLiteral("track02.cda") + QChar(u'\0') + QStringLiteral("junk"), "cda"},
    };
    for (const auto& [name, extension] : cases) EXPECT_EQ(EntryExtension(name), extension) << name.toStdString();
}

}  // namespace
