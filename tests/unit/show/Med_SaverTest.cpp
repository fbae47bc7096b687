#include "show/Med_Saver.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <algorithm>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <tuple>

#include "ShowFixture.h"
#include "platform/vb/VbError.h"

using namespace show;

namespace {

class Med_SaverTest : public ::testing::Test {
protected:
    testsupport::FakePlayerEngine* fake_ = new testsupport::FakePlayerEngine;
    Med_Saver player_{nullptr, std::unique_ptr<platform::media::PlayerEngine>(fake_)};
};

// Volume and balance in hundredths of a dB become amplitudes; rate, part and
// count reach the engine within its ranges. Read as: the control's volume and
// balance, then what the engine got (FakePlayerEngine::Settings).
TEST_F(Med_SaverTest, SettingsReachTheEngineInItsUnits) {
    const auto read = [this] {
        return QStringLiteral("%1 %2: ").arg(player_.Volume()).arg(player_.Balance()) + fake_->Settings();
    };
    EXPECT_EQ(read(), "-600 0: 0.5012 1/1 x1 -1--1 1");  // before anyone sets them
    EXPECT_TRUE(player_.AutoStart() && player_.AutoRewind() && !player_.Mute());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Volume, balance, rate, part start and end, plays.
    const std::tuple<qint32, qint32, double, double, double, qint32, QString> cases[] = {
        {-2000, 2000, 2, 0, 0, 0, "-2000 2000: 0.1 0.1/1 x2 0-0 0"},  // a positive balance lowers the left
        {-4000, -2000, 0, -1, -3, -2, "-4000 -2000: 0.01 1/0.1 x0.01 0-0 1"},
        {-10000, 10000, 1000, nan, 7, 1, "-10000 10000: 0 0/1 x100 0-7 1"},  // the ends are silence
        {-30000, -12000, nan, 9, 4, 10000, "-10000 -10000: 0 1/0 x1 9-4 10000"},
        {500, 0, 1, 0, 0, 1, "0 0: 1 1/1 x1 0-0 1"},  // no amplification
    };
    for (const auto& [volume, balance, rate, start, end, plays, expected] : cases) {
        player_.LetVolume(volume);
        player_.LetBalance(balance);
        player_.LetRate(rate);
        player_.LetSelectionStart(start);
        player_.LetSelectionEnd(end);
        player_.LetPlayCount(plays);
        EXPECT_EQ(read(), expected);
    }
}

// After the end the clip rewinds, or starts the part again at Play; a clip
// that cannot play ends again after each Play, with its reason.
TEST_F(Med_SaverTest, OpeningClosingAndEndOfStream) {
    const std::tuple<bool, bool, bool, QStringList, std::vector<qint32>> cases[] = {
        {true, true, false, {"Open a.avi", "Play", "Pause", "Seek 2", "Play", "Play"}, {0}},
        {false, false, false, {"Open a.avi", "Pause", "Seek 2", "Play", "Play"}, {0}},
        {false, true, true, {"Open a.avi"}, {1, 1, 1}},
    };
    for (const auto& [autoStart, autoRewind, failed, calls, results] : cases) {
        fake_->calls.clear();
        std::vector<qint32> ends;
        player_.EndOfStream = [&](qint32 r) { ends.push_back(r); };
        player_.LetAutoStart(autoStart);
        player_.LetAutoRewind(autoRewind);
        player_.LetSelectionStart(2);
        player_.LetFileName(QStringLiteral("a.avi"));
        fake_->EndOfFile(failed, QStringLiteral("no such format"));
        bool waited = false;  // the own size of a clip that is over is not waited for
        QTimer::singleShot(0, [&] { waited = true; });
        player_.LetDisplaySize(Med_Saver::kOwnSize);
        EXPECT_FALSE(waited);
        EXPECT_EQ(player_.CurrentPosition(), autoRewind && !failed ? 2 : fake_->position);  // no seek shown yet
        for (int play = 0; play < 2; ++play) player_.Play(), QCoreApplication::processEvents();
        EXPECT_EQ(fake_->calls, calls);
        EXPECT_EQ(ends, results);
        EXPECT_EQ(player_.FileName() + player_.ErrorDescription(), failed ? "a.avino such format" : "a.avi");
    }
    fake_->calls.clear();
    player_.LetFileName(QString());
    EXPECT_EQ(fake_->calls, QStringList{"Close"});
    int errors = 0;
    player_.Error = [&] { ++errors; };
    fake_->Error(QStringLiteral("seek refused"));
    EXPECT_EQ(QString::number(errors) + player_.ErrorDescription(), "1seek refused");
}

TEST_F(Med_SaverTest, ALateClipSizeIsTakenAndReported) {
    int reported = 0;
    player_.OwnSizeChanged = [&] { ++reported; };
    player_.LetDisplaySize(Med_Saver::kOwnSize);
    player_.LetFileName(QStringLiteral("a.avi"));
    fake_->size = {320, 240};
    for (int i = 0; i < 2; ++i) fake_->VideoSizeChanged(fake_->size);
    EXPECT_EQ(player_.size(), QSize(320, 240));
    EXPECT_EQ(reported, 1);
    player_.LetDisplaySize(Med_Saver::kFitToControl);  // then the control's size is the show's
    fake_->size = {640, 480};
    fake_->VideoSizeChanged(fake_->size);
    EXPECT_EQ(player_.size(), QSize(320, 240));
}

// Plays the clip set and waits for its end, 20 s at most: the result, or
// none. A clip that could not open ends again at Play. lowest: the lowest
// position seen while it played, read every 10 ms.
std::optional<qint32> PlayToTheEnd(Med_Saver& player, double* lowest = nullptr) {
    std::optional<qint32> result;
    QEventLoop loop;
    QTimer reading;
    QObject::connect(&reading, &QTimer::timeout, [&] { if (lowest) *lowest = std::min(*lowest, player.CurrentPosition()); });
    reading.start(10);
    player.EndOfStream = [&](qint32 r) { result = r, loop.quit(); };
    player.Play();
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (!result) loop.exec();
    return result;
}

// The program's own engine, without picture and sound, on generated files.
TEST(Med_SaverMpvTest, PlaysToTheEndOrFailsWithTheReason) {
    testsupport::TempFolder folder;
    const QString clip = folder.file(QStringLiteral("clip.mp4")), gone = folder.file(QStringLiteral("gone.avi"));
    testsupport::MakeClip(clip, testsupport::ColourSource(Qt::red), 1);  // 320 x 240
    const QString fifo = folder.file(QStringLiteral("fifo.mp4"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const testsupport::ScopedEnv headless("ZORSCR_MPV_HEADLESS", "1");
    // The part three times, fast; a file that has gone; one of the player's
    // own sources; a FIFO, which would hold the player until a writer came.
    for (const auto& [file, start, end, plays, expected] :
         {std::tuple{clip, 0.2, 0.5, 3, 0}, {gone, 0.0, 0.0, 1, 1}, {QStringLiteral("fdclose://0"), 0.0, 0.0, 1, 1},
          {fifo, 0.0, 0.0, 1, 1}}) {
        Med_Saver player(nullptr);
        player.LetAutoStart(false);
        player.LetFileName(file);
        player.LetRate(2);
        player.LetSelectionStart(start);
        player.LetSelectionEnd(end);
        player.LetPlayCount(plays);
        player.LetDisplaySize(Med_Saver::kOwnSize);
        EXPECT_TRUE(expected != 0 || player.Height() == 3600);  // the clip's 240 pixels
        EXPECT_EQ(PlayToTheEnd(player), expected);
        EXPECT_EQ(player.ErrorDescription().contains(file), expected == 1) << player.ErrorDescription().toStdString();
    }
    // A prepared clip is the one opened next, or dropped for another: either
    // way the clip asked for plays to its end, with its own part.
    const QString other = folder.file(QStringLiteral("other.mp4"));
    testsupport::MakeClip(other, testsupport::ColourSource(Qt::green), 2);
    for (const QString& next : {clip, other}) {
        Med_Saver player(nullptr);
        player.LetAutoStart(false);
        player.LetFileName(other);
        player.Prepare(clip, 0.5);
        QEventLoop preparing;
        QTimer::singleShot(1000, &preparing, &QEventLoop::quit);
        preparing.exec();
        player.LetFileName(next);
        player.LetSelectionStart(0.5);
        player.LetCurrentPosition(0.5);
        while (!player.ReadyToPlay()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(player.Duration(), next == clip ? 1 : 2);
        // Played from 0.5 s on, not from the clip's start: no position
        // before it, within a frame (25 a second).
        double lowest = 0.5;
        EXPECT_EQ(PlayToTheEnd(player, &lowest), 0);
        EXPECT_GT(lowest, 0.46);
    }
    // An option mpv rejects is a player that cannot start, with mpv's reason.
    const std::pair<const char*, const char*> misspelt[] = {{"keep-opne", "yes"}};
    try {
        platform::media::NewMpvEngine(misspelt, true);
        ADD_FAILURE() << "the player started";
    } catch (const vb::VbError& e) {
        EXPECT_EQ(QString::number(e.number()) + u' ' + e.description(),
                  "429 libmpv option keep-opne=yes: option not found");
    }
}

}  // namespace
