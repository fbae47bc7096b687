// The show window's load step: the preview plays the first entry without
// end; a show configures and starts a plain player entry; everything else is
// left to the show loop.

#include <gtest/gtest.h>

#include "platform/ui/Twips.h"
#include "show/ShowRules.h"
#include "ShowFixture.h"

namespace {

class LoadStepTest : public testsupport::ShowTest {
protected:
    // Entries 1 ("one.avi") and 2 (given), entry 2 current.
    Movie& Second(const QString& name) {
        AddEntry(QStringLiteral("one.avi"));
        Movie& entry = AddEntry(name);
        gCurrentIndex = 2;
        return entry;
    }
    static float Pixel() { return platform::TwipsPerPixelX(); }
};

TEST_F(LoadStepTest, PreviewPlaysTheFirstEntryWithoutEnd) {
    struct Case {
        const char* name;
        bool firstIsWeb, firstIsStill;
        QStringList calls;
    };
    const Case cases[] = {
        {"video first", false, false, {"Close", "Open /media/one.avi", "Play", "Play"}},
        {"web page first", true, false, {}},
        {"still first", false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        gRunMode = 3;
        Second(QStringLiteral("two.avi"));
        gMovies().Item(1).LetIsHTML(c.firstIsWeb);
        gMovies().Item(1).LetIsStill(c.firstIsStill);
        gStopRequest = true;
        UnloadCover();
        frmCover& cover = TheCover();
        EXPECT_EQ(player_->calls, c.calls);
        EXPECT_TRUE(gStopRequest);  // only the show's branch clears it
        if (c.calls.isEmpty()) continue;
        EXPECT_EQ(cover.Med_Saver->PlayCount(), 0);
        EXPECT_EQ(cover.Med_Saver->DisplaySize(), 4);
        EXPECT_TRUE(cover.Med_Saver->AutoRewind());
        EXPECT_EQ(cover.Med_Saver->Top(), 0);
        EXPECT_EQ(cover.Med_Saver->Left(), 0);
    }
}

TEST_F(LoadStepTest, ShowConfiguresAPlayerEntry) {
    struct Case {
        const char* name;
        qint32 playspeed;
        qint16 volume;
        double loopStart, loopEnd;
        bool remoteRepeat, loopForever;
        double rate;
        qint32 playerVolume, playCount;
    };
    const Case cases[] = {
        {"normal", 10, 0, 0, 0, false, false, 1.0, 0, 1},
        {"half speed, quieter", 5, 500, 2.5, 7, false, false, 0.5, -500, 1},
        {"double speed", 20, 1200, 1, 3, false, false, 2.0, -1200, 1},
        {"repeat from the remote", 10, 0, 0, 0, true, false, 1.0, 0, 30000},
        {"loop forever is not the load step's business", 10, 0, 0, 0, false, true, 1.0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        gRunMode = 2;
        Movie& entry = Second(QStringLiteral("two.avi"));
        entry.LetPlayspeed(c.playspeed);
        entry.Letvolume(c.volume);
        entry.LetLoopStart(c.loopStart);
        entry.LetLoopEnd(c.loopEnd);
        entry.LetRemoteRepeat(c.remoteRepeat);
        entry.LetLoopForever(c.loopForever);
        entry.LetBalance(Variant(qint32{1500}));
        gStopRequest = true;
        UnloadCover();
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_FALSE(gStopRequest);
        EXPECT_EQ(player.FileName(), "/media/two.avi");
        EXPECT_DOUBLE_EQ(player.Rate(), c.rate);
        EXPECT_EQ(player.Volume(), c.playerVolume);
        EXPECT_EQ(player.Balance(), 0);  // centred whatever the entry holds
        EXPECT_DOUBLE_EQ(player.SelectionStart(), c.loopStart);
        EXPECT_DOUBLE_EQ(player.SelectionEnd(), c.loopEnd);
        EXPECT_DOUBLE_EQ(player_->position, c.loopStart);  // playback starts at the loop start
        EXPECT_EQ(player.PlayCount(), c.playCount);
        EXPECT_EQ(player.DisplayMode(), 0);
        EXPECT_FALSE(player.AddressMode());
        EXPECT_TRUE(player.Visible());
        EXPECT_TRUE(player.AutoStart());
        EXPECT_EQ(player_->calls.last(), "Play");
    }
}

TEST_F(LoadStepTest, ShowLeavesOtherKindsToTheLoop) {
    struct Case {
        const char* name;
        QString movieName;
        bool qt4, realMedia, web, still;
        bool stopCleared;
    };
    const Case cases[] = {
        {"CD track", QStringLiteral("Track01.cda"), false, false, false, false, true},
        {"CD track flagged QuickTime 4", QStringLiteral("Track01.CDA"), true, false, false, false, true},
        {"QuickTime 4", QStringLiteral("clip.mov"), true, false, false, false, true},
        {"RealMedia", QStringLiteral("clip.rm"), false, true, false, false, true},
        {"web page", QStringLiteral("page.htm"), false, false, true, false, false},
        {"still picture", QStringLiteral("photo.png"), false, false, false, true, false},
        {"no such entry", QString(), false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        gRunMode = 2;
        if (c.movieName.isEmpty()) {
            gCurrentIndex = 7;
        } else {
            Movie& entry = Second(c.movieName);
            entry.LetIsTrueQT4(c.qt4);
            entry.LetIsTrueRM(c.realMedia);
            entry.LetIsHTML(c.web);
            entry.LetIsStill(c.still);
        }
        gStopRequest = true;
        UnloadCover();
        TheCover();
        EXPECT_EQ(player_->calls, QStringList{});
        EXPECT_EQ(gStopRequest, !c.stopCleared);
    }
}

TEST_F(LoadStepTest, AnAddressIsGivenAlone) {
    gRunMode = 2;
    Second(QStringLiteral("http://example.org/live.asf"));
    const ::Med_Saver& player = *TheCover().Med_Saver;
    EXPECT_TRUE(player.AddressMode());
    EXPECT_EQ(player.FileName(), "http://example.org/live.asf");
}

TEST_F(LoadStepTest, LayoutRule) {
    const float screenWidth = platform::ScreenWidth(), screenHeight = platform::ScreenHeight();
    const float clipHeight = 240 * platform::TwipsPerPixelY(), clipWidth = 320 * platform::TwipsPerPixelX();
    struct Case {
        const char* name;
        bool fullScreen;
        qint32 playsize;
        qint32 displaySize;
        float left, top, width, height;
        qint32 storedPlaysize;
    };
    const Case cases[] = {
        {"full screen", true, 0, 4, 0, 0, screenWidth, screenHeight, 0},
        {"square of 3000, centred", false, 3000, 4, screenWidth / 2 - 1500, screenHeight / 2 - 1500, 3000, 3000, 3000},
        {"the clip's own size, centred", false, 0, 0, screenWidth / 2 - clipWidth / 2, screenHeight / 2 - clipHeight / 2,
         clipWidth, clipHeight, static_cast<qint32>(clipHeight)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ResetProgramState();
        gRunMode = 2;
        Movie& entry = Second(QStringLiteral("two.avi"));
        entry.LetPlayFullScreen(c.fullScreen);
        entry.LetPlaysize(c.playsize);
        UnloadCover();
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_EQ(player.DisplaySize(), c.displaySize);
        EXPECT_NEAR(player.Left(), c.left, Pixel());
        EXPECT_NEAR(player.Top(), c.top, Pixel());
        EXPECT_NEAR(player.Width(), c.width, Pixel());
        EXPECT_NEAR(player.Height(), c.height, Pixel());
        EXPECT_EQ(entry.Playsize(), c.storedPlaysize);
    }
}

TEST(ShowRulesTest, EntryExtension) {
    struct Case {
        QString name, extension;
    };
    const Case cases[] = {
        {QStringLiteral("track01.cda"), QStringLiteral("cda")},
        {QStringLiteral("clip.qt"), QStringLiteral("qt")},
        {QStringLiteral("clip.avi"), QStringLiteral("avi")},
        {QStringLiteral("a.b"), QStringLiteral("b")},
        {QStringLiteral("x.."), QStringLiteral(".")},  // after the first dot of the three
        {QStringLiteral("movie"), QStringLiteral("vie")},
        {QStringLiteral("ab"), QStringLiteral("ab")},
        {QString(), QString()},
        {QStringLiteral("track02.cda") + QChar(u'\0') + QStringLiteral("junk"), QStringLiteral("cda")},
    };
    for (const Case& c : cases) EXPECT_EQ(EntryExtension(c.name), c.extension) << c.name.toStdString();
}

}  // namespace
