#include "show/Med_Saver.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cmath>
#include <limits>
#include <optional>

#include "FakePlayerEngine.h"
#include "platform/ui/Twips.h"
#include "support/TestSupport.h"

namespace {

using testsupport::FakePlayerEngine;

class Med_SaverTest : public ::testing::Test {
protected:
    Med_SaverTest() {
        auto engine = std::make_unique<FakePlayerEngine>();
        fake_ = engine.get();
        player_ = std::make_unique<Med_Saver>(nullptr, std::move(engine));
    }
    FakePlayerEngine* fake_;
    std::unique_ptr<Med_Saver> player_;
};

TEST_F(Med_SaverTest, StartsAtTheControlsDefaults) {
    EXPECT_NEAR(fake_->amplitude, std::pow(10.0, -0.3), 1e-9);  // -600: 6 dB down
    EXPECT_EQ(fake_->left, 1.0);
    EXPECT_EQ(fake_->right, 1.0);
    EXPECT_EQ(fake_->speed, 1.0);
    EXPECT_EQ(fake_->plays, 1);
}

TEST_F(Med_SaverTest, VolumeAndBalanceBecomeChannelAmplitudes) {
    struct Case {
        qint32 volume, balance;
        qint32 volumeRead, balanceRead;
        double amplitude, left, right;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 1.0, 1.0, 1.0},
        {-2000, 2000, -2000, 2000, 0.1, 0.1, 1.0},  // positive balance lowers the left
        {-4000, -2000, -4000, -2000, 0.01, 1.0, 0.1},
        {-10000, 10000, -10000, 10000, 0.0, 0.0, 1.0},  // the ends are silence
        {-30000, -12000, -10000, -10000, 0.0, 1.0, 0.0},
        {500, 0, 0, 0, 1.0, 1.0, 1.0},  // no amplification
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.volume << " / " << c.balance);
        player_->LetVolume(c.volume);
        player_->LetBalance(c.balance);
        EXPECT_EQ(player_->Volume(), c.volumeRead);
        EXPECT_EQ(player_->Balance(), c.balanceRead);
        EXPECT_NEAR(fake_->amplitude, c.amplitude, 1e-12);
        EXPECT_NEAR(fake_->left, c.left, 1e-12);
        EXPECT_NEAR(fake_->right, c.right, 1e-12);
    }
}

TEST_F(Med_SaverTest, RateCountAndPartReachTheEngine) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double rate, start, end;
        qint32 count;
        double speed, partStart, partEnd;
        int plays;
    };
    const Case cases[] = {
        {0.5, 2, 5, 30000, 0.5, 2, 5, 30000},
        {2.0, 0, 0, 0, 2.0, 0, 0, 0},  // 0 plays: without end
        {0, -1, -3, -2, 0.01, 0, 0, 1},
        {1000, nan, 7, 1, 100, 0, 7, 1},
        {nan, 9, 4, 10000, 1.0, 9, 4, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate << " part " << c.start << "-" << c.end);
        player_->LetRate(c.rate);
        player_->LetSelectionStart(c.start);
        player_->LetSelectionEnd(c.end);
        player_->LetPlayCount(c.count);
        EXPECT_EQ(fake_->speed, c.speed);
        EXPECT_EQ(player_->Rate(), c.speed);
        EXPECT_EQ(fake_->partStart, c.partStart);
        EXPECT_EQ(player_->SelectionStart(), c.partStart);
        EXPECT_EQ(fake_->partEnd, c.partEnd);
        EXPECT_EQ(fake_->plays, c.plays);
    }
}

TEST_F(Med_SaverTest, OpeningClosingAndEndOfStream) {
    struct Case {
        const char* name;
        bool autoStart, autoRewind, failed;
        QStringList calls;  // after the clip opened and ended, then Play
        std::optional<qint32> result;
        int ends;  // a clip that cannot play ends again after each Play
    };
    const Case cases[] = {
        {"plays on open, rewinds", true, true, false, {"Open a.avi", "Play", "Pause", "Seek 2", "Play"}, 0, 1},
        {"waits for Play, stays at the end", false, false, false, {"Open a.avi", "Pause", "Seek 2", "Play"}, 0, 1},
        {"cannot play", false, true, true, {"Open a.avi"}, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_->calls.clear();
        std::optional<qint32> result;
        int ends = 0;
        player_->EndOfStream = [&](qint32 r) {
            result = r;
            ++ends;
        };
        player_->LetAutoStart(c.autoStart);
        player_->LetAutoRewind(c.autoRewind);
        player_->LetSelectionStart(2);
        player_->LetFileName(QStringLiteral("a.avi"));
        EXPECT_EQ(player_->FileName(), QStringLiteral("a.avi"));
        fake_->RaiseEndOfFile(c.failed);
        player_->Play();
        QCoreApplication::processEvents();
        EXPECT_EQ(fake_->calls, c.calls);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(ends, c.ends);
    }
    fake_->calls.clear();
    player_->LetFileName(QString());
    EXPECT_EQ(fake_->calls, QStringList{"Close"});
    EXPECT_TRUE(player_->FileName().isEmpty());
}

TEST_F(Med_SaverTest, PlacementAndClipSizeInTwips) {
    const float x = platform::TwipsPerPixelX(), y = platform::TwipsPerPixelY();
    player_->LetLeft(30 * x);
    player_->LetTop(20 * y);
    player_->LetWidth(300 * x);
    player_->LetHeight(200 * y);
    EXPECT_EQ(player_->geometry(), QRect(30, 20, 300, 200));
    EXPECT_FLOAT_EQ(player_->Left(), 30 * x);
    EXPECT_FLOAT_EQ(player_->Height(), 200 * y);

    struct Case {
        const char* name;
        qint32 displaySize;
        bool readyDuringWait;  // else ready before
        QSize expected;
    };
    const Case cases[] = {
        {"clip size known", 0, false, {320, 240}},
        {"clip size arrives while waiting", 0, true, {320, 240}},
        {"fitted keeps the control's size", 4, false, {300, 200}},
        {"5 as 4", 5, true, {300, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player_->resize(300, 200);
        player_->LetDisplaySize(4);
        player_->LetFileName(QStringLiteral("b.avi"));
        if (c.readyDuringWait) {
            QTimer::singleShot(0, [this] { fake_->RaiseReady({320, 240}); });
        } else {
            fake_->RaiseReady({320, 240});
        }
        player_->LetDisplaySize(c.displaySize);
        QApplication::processEvents();
        EXPECT_EQ(player_->size(), c.expected);
        EXPECT_FLOAT_EQ(player_->Height(), c.expected.height() * y);
        EXPECT_FLOAT_EQ(player_->Left(), 30 * x);
    }
    EXPECT_TRUE(player_->ReadyToPlay());
}

TEST_F(Med_SaverTest, InputIsReportedInVbTerms) {
    const float x = platform::TwipsPerPixelX(), y = platform::TwipsPerPixelY();
    std::vector<std::vector<float>> reports;
    player_->Click = [&](int b, int s, float px, float py) { reports.push_back({0, float(b), float(s), px, py}); };
    player_->MouseMove = [&](int b, int s, float px, float py) { reports.push_back({1, float(b), float(s), px, py}); };
    player_->KeyPress = [&](int key) { reports.push_back({2, float(key)}); };
    struct Case {
        const char* name;
        std::function<QEvent*()> event;
        std::vector<float> report;  // none: not reported
    };
    const QPointF at(10, 4);
    const Case cases[] = {
        {"left click", [&] { return new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier); },
         {0, 1, 0, 10 * x, 4 * y}},
        {"right click with Ctrl and Alt",
         [&] { return new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::RightButton, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier); },
         {0, 2, 6, 10 * x, 4 * y}},
        {"move without buttons",
         [&] { return new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::ShiftModifier); },
         {1, 0, 1, 10 * x, 4 * y}},
        {"move holding middle and left",
         [&] { return new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton, Qt::MiddleButton | Qt::LeftButton, Qt::NoModifier); },
         {1, 5, 0, 10 * x, 4 * y}},
        {"letter", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")); }, {2, 65}},
        {"Escape without text", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier); }, {2, 27}},
        {"Enter", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); }, {2, 13}},
        {"F1 gives no character", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reports.clear();
        std::unique_ptr<QEvent> event(c.event());
        QApplication::sendEvent(player_.get(), event.get());
        if (c.report.empty()) {
            EXPECT_TRUE(reports.empty());
        } else {
            EXPECT_EQ(reports, std::vector<std::vector<float>>{c.report});
        }
    }
}

// The program's own engine, without picture and sound, on generated files.
TEST(Med_SaverMpvTest, PlaysToTheEndOrFailsToTheEnd) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) GTEST_SKIP() << "ffmpeg is not installed";
    testsupport::TempFolder folder;
    const QString clip = folder.file(QStringLiteral("clip.mp4"));
    ASSERT_EQ(QProcess::execute(ffmpeg, {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f",
                                         "lavfi", "-i", "sine", "-t", "1", "-pix_fmt", "yuv420p", clip}),
              0);
    testsupport::WriteBytes(folder.file(QStringLiteral("empty.avi")), {});
    testsupport::WriteBytes(folder.file(QStringLiteral("noise.avi")), QByteArray(4096, 'x'));
    qputenv("ZORSCR_MPV_HEADLESS", "1");

    struct Case {
        const char* name;
        QString file;
        double start, end, rate;
        qint32 plays;
        qint32 result;
    };
    const Case cases[] = {
        {"whole clip", clip, 0, 0, 1, 1, 0},
        {"part played three times, fast", clip, 0.2, 0.5, 2, 3, 0},
        {"start beyond the end", clip, 5, 0, 1, 1, 0},
        {"end before start, rate beyond the fastest", clip, 0.8, 0.3, 1000, 1, 0},
        {"empty file", folder.file(QStringLiteral("empty.avi")), 0, 0, 1, 1, 1},
        {"not a video", folder.file(QStringLiteral("noise.avi")), 0, 0, 1, 1, 1},
        {"missing file", folder.file(QStringLiteral("gone.avi")), 0, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Med_Saver player(nullptr);
        std::optional<qint32> result;
        QEventLoop loop;
        player.EndOfStream = [&](qint32 r) {
            result = r;
            loop.quit();
        };
        player.LetAutoStart(false);
        player.LetFileName(c.file);
        player.LetRate(c.rate);
        player.LetSelectionStart(c.start);
        player.LetCurrentPosition(player.SelectionStart());
        player.LetSelectionEnd(c.end);
        player.LetPlayCount(c.plays);
        player.LetDisplaySize(0);
        if (c.result == 0 && c.start < 1) {
            EXPECT_TRUE(player.ReadyToPlay());
            EXPECT_NEAR(player.Duration(), 1.0, 0.05);
            EXPECT_FLOAT_EQ(player.Height(), 240 * platform::TwipsPerPixelY());
        }
        player.Play();
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        EXPECT_EQ(result, c.result);
    }
    qunsetenv("ZORSCR_MPV_HEADLESS");
}

}  // namespace
