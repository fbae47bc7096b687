#include "show/Med_Saver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QTimer>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

#include "FakePlayerEngine.h"
#include "platform/vb/VbError.h"
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

// Volume and balance in hundredths of a dB become amplitudes; rate, part and
// count reach the engine within its ranges.
TEST_F(Med_SaverTest, SettingsReachTheEngineInItsUnits) {
    // Before anyone sets them: 6 dB down, centred, normal speed, one play.
    EXPECT_NEAR(fake_->amplitude, 0.501187, 1e-6);
    EXPECT_EQ(std::make_tuple(fake_->left, fake_->right, fake_->speed, fake_->plays), std::make_tuple(1.0, 1.0, 1.0, 1));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        qint32 volume, balance;
        double rate, start, end;
        qint32 count;
        qint32 volumeRead, balanceRead;
        double amplitude, left, right, speed, partStart, partEnd;
        int plays;
    };
    const Case cases[] = {
        {0, 0, 0.5, 2, 5, 30000, 0, 0, 1, 1, 1, 0.5, 2, 5, 30000},
        {-2000, 2000, 2, 0, 0, 0, -2000, 2000, 0.1, 0.1, 1, 2, 0, 0, 0},  // positive balance: the left lower
        {-4000, -2000, 0, -1, -3, -2, -4000, -2000, 0.01, 1, 0.1, 0.01, 0, 0, 1},
        {-10000, 10000, 1000, nan, 7, 1, -10000, 10000, 0, 0, 1, 100, 0, 7, 1},  // the ends are silence
        {-30000, -12000, nan, 9, 4, 10000, -10000, -10000, 0, 1, 0, 1, 9, 4, 10000},
        {500, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1},  // no amplification
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " rate " << c.rate);
        player_->LetVolume(c.volume);
        player_->LetBalance(c.balance);
        player_->LetRate(c.rate);
        player_->LetSelectionStart(c.start);
        player_->LetSelectionEnd(c.end);
        player_->LetPlayCount(c.count);
        EXPECT_EQ(player_->Volume(), c.volumeRead);
        EXPECT_EQ(player_->Balance(), c.balanceRead);
        EXPECT_NEAR(fake_->amplitude, c.amplitude, 1e-12);
        EXPECT_NEAR(fake_->left, c.left, 1e-12);
        EXPECT_NEAR(fake_->right, c.right, 1e-12);
        EXPECT_EQ(fake_->speed, c.speed);
        EXPECT_EQ(fake_->partStart, c.partStart);
        EXPECT_EQ(fake_->partEnd, c.partEnd);
        EXPECT_EQ(fake_->plays, c.plays);
    }
}

TEST_F(Med_SaverTest, OpeningClosingAndEndOfStream) {
    struct Case {
        const char* name;
        bool autoStart, autoRewind, failed;
        QStringList calls;  // after the clip opened and ended, then Play
        qint32 result;
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
        std::vector<qint32> results;
        player_->EndOfStream = [&](qint32 r) { results.push_back(r); };
        player_->LetAutoStart(c.autoStart);
        player_->LetAutoRewind(c.autoRewind);
        player_->LetSelectionStart(2);
        player_->LetFileName(QStringLiteral("a.avi"));
        EXPECT_EQ(player_->FileName(), QStringLiteral("a.avi"));
        fake_->RaiseEndOfFile(c.failed, QStringLiteral("no such format"));
        player_->Play();
        QCoreApplication::processEvents();
        EXPECT_EQ(fake_->calls, c.calls);
        EXPECT_EQ(results, std::vector<qint32>(static_cast<size_t>(c.ends), c.result));
        EXPECT_EQ(player_->ErrorDescription(), c.failed ? "no such format" : "");
    }
    fake_->calls.clear();
    player_->LetFileName(QString());
    EXPECT_EQ(fake_->calls, QStringList{"Close"});
    EXPECT_TRUE(player_->FileName().isEmpty());

    int errors = 0;
    player_->Error = [&] { ++errors; };
    fake_->Error(QStringLiteral("seek refused"));
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(player_->ErrorDescription(), "seek refused");
}

// Twips at 96 DPI: 15 to the pixel.
TEST_F(Med_SaverTest, PlacementAndClipSize) {
    player_->LetLeft(450);
    player_->LetTop(300);
    player_->LetWidth(4500);
    player_->LetHeight(3000);
    EXPECT_EQ(player_->geometry(), QRect(30, 20, 300, 200));
    EXPECT_EQ(player_->Left(), 450);
    EXPECT_EQ(player_->Top(), 300);
    EXPECT_EQ(player_->Width(), 4500);

    struct Case {
        const char* name;
        qint32 displaySize;
        bool readyDuringWait;  // else ready before
        float height;
    };
    const Case cases[] = {
        {"the clip's own size", Med_Saver::kOwnSize, false, 3600},
        {"the clip's size arrives while waiting", Med_Saver::kOwnSize, true, 3600},
        {"fitted keeps the control's size", Med_Saver::kFitToControl, false, 3000},
        {"the preview's size fits too", Med_Saver::kPreviewSize, true, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player_->resize(300, 200);
        player_->LetDisplaySize(Med_Saver::kFitToControl);
        player_->LetFileName(QStringLiteral("b.avi"));
        if (c.readyDuringWait)
            QTimer::singleShot(0, [this] { fake_->RaiseReady({320, 240}); });
        else
            fake_->RaiseReady({320, 240});
        player_->LetDisplaySize(c.displaySize);
        QApplication::processEvents();
        EXPECT_EQ(player_->Height(), c.height);
        EXPECT_EQ(player_->Left(), 450);
    }
    EXPECT_TRUE(player_->ReadyToPlay());
}

TEST_F(Med_SaverTest, InputIsReportedInVbTerms) {
    QList<QList<float>> reports;  // kind (0 click, 1 move, 2 key), then the event's values
    player_->Click = [&](int b, int s, float x, float y) { reports.push_back({0, float(b), float(s), x, y}); };
    player_->MouseMove = [&](int b, int s, float x, float y) { reports.push_back({1, float(b), float(s), x, y}); };
    player_->KeyPress = [&](int key) { reports.push_back({2, float(key)}); };
    const QPointF at(10, 4);
    const auto mouse = [at](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers m) {
        return [=] { return new QMouseEvent(type, at, at, button, held, m); };
    };
    const auto key = [](int code, const QString& text) {
        return [=] { return new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, text); };
    };
    const std::pair<std::function<QEvent*()>, QList<float>> cases[] = {
        {mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier),
         {0, 2, 6, 150, 60}},
        {mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton | Qt::LeftButton, Qt::ShiftModifier), {1, 5, 1, 150, 60}},
        {key(Qt::Key_A, QStringLiteral("A")), {2, 65}},
        {key(Qt::Key_Escape, QString()), {2, 27}},  // not every platform gives Escape a text
        {key(Qt::Key_F1, QString()), {}},           // no character: not reported
    };
    for (const auto& [event, report] : cases) {
        reports.clear();
        std::unique_ptr<QEvent> e(event());
        QApplication::sendEvent(player_.get(), e.get());
        EXPECT_EQ(reports, report.isEmpty() ? QList<QList<float>>{} : QList<QList<float>>{report});
    }
}

// The program's own engine, without picture and sound, on generated files.
TEST(Med_SaverMpvTest, PlaysToTheEndOrFailsWithTheReason) {
    testsupport::TempFolder folder;
    const QString clip = folder.file(QStringLiteral("clip.mp4"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("ffmpeg"),
                                {"-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f",
                                 "lavfi", "-i", "sine", "-t", "1", "-pix_fmt", "yuv420p", clip}),
              0);
    testsupport::WriteBytes(folder.file(QStringLiteral("noise.avi")), QByteArray(4096, 'x'));
    qputenv("ZORSCR_MPV_HEADLESS", "1");
    struct Case {
        const char* name;
        QString file;
        double start, end, rate;
        qint32 plays, result;
    };
    const Case cases[] = {
        {"whole clip", clip, 0, 0, 1, 1, 0},
        {"part played three times, fast", clip, 0.2, 0.5, 2, 3, 0},
        {"start beyond the end", clip, 5, 0, 1, 1, 0},
        {"not a video", folder.file(QStringLiteral("noise.avi")), 0, 0, 1, 1, 1},
        {"missing file", folder.file(QStringLiteral("gone.avi")), 0, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Med_Saver player(nullptr);
        std::optional<qint32> result;
        QEventLoop loop;
        player.EndOfStream = [&](qint32 r) { result = r, loop.quit(); };
        player.LetAutoStart(false);
        player.LetFileName(c.file);
        player.LetRate(c.rate);
        player.LetSelectionStart(c.start);
        player.LetCurrentPosition(player.SelectionStart());
        player.LetSelectionEnd(c.end);
        player.LetPlayCount(c.plays);
        player.LetDisplaySize(Med_Saver::kOwnSize);
        if (c.result == 0 && c.start < 1) {
            EXPECT_NEAR(player.Duration(), 1.0, 0.05);
            EXPECT_EQ(player.Height(), 3600);
        }
        player.Play();
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(player.ErrorDescription().contains(c.file), c.result == 1);
    }

    // An option mpv rejects is a player that cannot start, with mpv's reason.
    const std::pair<const char*, const char*> misspelt[] = {{"keep-opne", "yes"}};
    try {
        platform::media::NewMpvEngine(misspelt);
        ADD_FAILURE() << "the player started";
    } catch (const vb::VbError& e) {
        EXPECT_EQ(e.number(), 429);
        EXPECT_EQ(e.description(), "libmpv option keep-opne=yes: option not found");
    }
    qunsetenv("ZORSCR_MPV_HEADLESS");
}

}  // namespace
