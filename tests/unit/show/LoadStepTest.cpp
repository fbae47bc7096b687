// The show window's load step: the preview plays the first entry without
// end; a show configures and starts a plain player entry; everything else is
// left to the show loop. Twips at 96 DPI: 15 to the pixel.

#include <gtest/gtest.h>

#include "ShowFixture.h"
#include "platform/ui/Twips.h"

using namespace state;
using namespace config;
using namespace show;

namespace {

class LoadStepTest : public testsupport::ShowTest {
protected:
    // A fresh state with entries 1 ("one.avi") and 2 (name), entry 2 current;
    // the window is made when the test touches it.
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
    for (const bool web : {false, true}) {
        Second(kRunModePreview);
        gMovies().Item(1).LetIsHTML(web);
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_EQ(player_->calls, web ? QStringList{} : QStringList({"Close", "Open /media/one.avi", "Play", "Play"}));
        EXPECT_TRUE(gStopRequest && !TheCover().isFullScreen());  // the start-up places it
        EXPECT_TRUE(web || std::make_tuple(player.PlayCount(), player.DisplaySize(), player.AutoRewind()) ==
                               std::make_tuple(0, Med_Saver::kFitToControl, true));
    }
}

// A plain entry starts at once, centred whatever its balance, repeating as
// the remote asked. CD tracks, QuickTime 4 and RealMedia clear the stop
// request and wait for the loop; web pages and stills are not touched at all.
TEST_F(LoadStepTest, ShowStartsPlainEntriesAndLeavesTheRestToTheLoop) {
    Movie& entry = Second(kRunModeShow);
    entry.LetPlayspeed(5);
    entry.LetRemoteRepeat(true);
    entry.LetBalance(Variant(qint32{1500}));
    EXPECT_EQ(player_->Settings() + u' ' + TheCover().Med_Saver->FileName(), "1 1/1 x0.5 0-0 30000 /media/two.avi");
    EXPECT_TRUE(!gStopRequest && TheCover().isFullScreen() && TheCover().Med_Saver->Visible());
    EXPECT_EQ(player_->calls.last(), "Play");
    // The name, then the kind: Q QuickTime 4, R RealMedia, W web, S still.
    const std::pair<QString, QString> cases[] = {
        {"Track01.cda", ""}, {"Track01.CDA", "Q"}, {"clip.mov", "Q"}, {"clip.rm", "R"}, {"page.htm", "W"},
        {"photo.png", "S"}};
    for (const auto& [name, kind] : cases) {
        Movie& other = Second(kRunModeShow, name);
        other.LetIsTrueQT4(kind == "Q");
        other.LetIsTrueRM(kind == "R");
        other.LetIsHTML(kind == "W");
        other.LetIsStill(kind == "S");
        TheCover();
        EXPECT_EQ(player_->calls, QStringList{});
        EXPECT_EQ(gStopRequest, kind == "W" || kind == "S") << name.toStdString();
    }
}

// Full screen and fitted; a square of the play size; or the clip's own size,
// which the entry keeps as its play size. Both centred.
TEST_F(LoadStepTest, LayoutRule) {
    const float width = platform::ScreenWidth(), height = platform::ScreenHeight();
    const std::tuple<bool, qint32, qint32, QRectF> cases[] = {  // full screen, play size, display size, place
        {true, 0, Med_Saver::kFitToControl, {0, 0, width, height}},
        {false, 3000, Med_Saver::kFitToControl, {width / 2 - 1500, height / 2 - 1500, 3000, 3000}},
        {false, 0, Med_Saver::kOwnSize, {width / 2 - 2400, height / 2 - 1800, 4800, 3600}},  // 320 x 240
    };
    for (const auto& [fullScreen, playsize, displaySize, place] : cases) {
        Movie& entry = Second(kRunModeShow);
        entry.LetPlayFullScreen(fullScreen);
        entry.LetPlaysize(playsize);
        const ::Med_Saver& player = *TheCover().Med_Saver;
        EXPECT_EQ(player.DisplaySize(), displaySize);
        EXPECT_NEAR(player.Left(), place.left(), 15);
        EXPECT_NEAR(player.Top(), place.top(), 15);
        EXPECT_EQ(QSizeF(player.Width(), player.Height()), place.size());
        EXPECT_EQ(entry.Playsize(), fullScreen ? 0 : static_cast<qint32>(place.height()));
    }
}

}  // namespace
