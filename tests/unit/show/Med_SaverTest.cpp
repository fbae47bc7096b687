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

#include "ShowFixture.h"
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
// count reach the engine within its ranges. Read as: the control's volume and
// balance, then what the engine got (FakePlayerEngine::Settings).
TEST_F(Med_SaverTest, SettingsReachTheEngineInItsUnits) {
    const auto read = [this] {
        return QStringLiteral("%1 %2: ").arg(player_->Volume()).arg(player_->Balance()) + fake_->Settings();
    };
    EXPECT_EQ(read(), "-600 0: 0.5012 1/1 x1 -1--1 1");  // before anyone sets them
    EXPECT_TRUE(player_->AutoStart() && player_->AutoRewind() && !player_->Mute());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Volume, balance, rate, part start and end, plays.
    const std::tuple<qint32, qint32, double, double, double, qint32, QString> cases[] = {
        {0, 0, 0.5, 2, 5, 30000, "0 0: 1 1/1 x0.5 2-5 30000"},
        {-2000, 2000, 2, 0, 0, 0, "-2000 2000: 0.1 0.1/1 x2 0-0 0"},  // a positive balance lowers the left
        {-4000, -2000, 0, -1, -3, -2, "-4000 -2000: 0.01 1/0.1 x0.01 0-0 1"},
        {-10000, 10000, 1000, nan, 7, 1, "-10000 10000: 0 0/1 x100 0-7 1"},  // the ends are silence
        {-30000, -12000, nan, 9, 4, 10000, "-10000 -10000: 0 1/0 x1 9-4 10000"},
        {500, 0, 1, 0, 0, 1, "0 0: 1 1/1 x1 0-0 1"},  // no amplification
    };
    for (const auto& [volume, balance, rate, start, end, plays, expected] : cases) {
        player_->LetVolume(volume);
        player_->LetBalance(balance);
        player_->LetRate(rate);
        player_->LetSelectionStart(start);
        player_->LetSelectionEnd(end);
        player_->LetPlayCount(plays);
        EXPECT_EQ(read(), expected);
    }
}

TEST_F(Med_SaverTest, OpeningClosingAndEndOfStream) {
    struct Case {
        bool autoStart, autoRewind, failed;
        QStringList calls;  // after the clip opened and ended, then Play twice
        std::vector<qint32> results;  // a clip that cannot play ends again after each Play
    };
    const Case cases[] = {
        {true, true, false, {"Open a.avi", "Play", "Pause", "Seek 2", "Play", "Play"}, {0}},  // rewinds
        {false, false, false, {"Open a.avi", "Pause", "Seek 2", "Play", "Play"}, {0}},  // the part again at Play
        {false, true, true, {"Open a.avi"}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        fake_->calls.clear();
        std::vector<qint32> results;
        player_->EndOfStream = [&](qint32 r) { results.push_back(r); };
        player_->LetAutoStart(c.autoStart);
        player_->LetAutoRewind(c.autoRewind);
        player_->LetSelectionStart(2);
        player_->LetFileName(QStringLiteral("a.avi"));
        fake_->RaiseEndOfFile(c.failed, QStringLiteral("no such format"));
        player_->Play();
        QCoreApplication::processEvents();
        player_->Play();
        QCoreApplication::processEvents();
        EXPECT_EQ(fake_->calls, c.calls);
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(player_->FileName() + player_->ErrorDescription(), c.failed ? "a.avino such format" : "a.avi");
    }
    fake_->calls.clear();
    player_->LetFileName(QString());
    EXPECT_EQ(fake_->calls, QStringList{"Close"});

    int errors = 0;
    player_->Error = [&] { ++errors; };
    fake_->Error(QStringLiteral("seek refused"));
    EXPECT_EQ(QString::number(errors) + player_->ErrorDescription(), "1seek refused");
}

TEST_F(Med_SaverTest, InputIsReportedInVbTerms) {
    QStringList reports;
    const auto report = [&](const char* what) {
        return [&, what](int b, int s, float x, float y) {
            reports << QStringLiteral("%1 %2 %3 %4,%5").arg(what).arg(b).arg(s).arg(x).arg(y);
        };
    };
    player_->Click = report("click");
    player_->MouseMove = report("move");
    player_->KeyPress = [&](int key) { reports << QStringLiteral("key %1").arg(key); };
    const QPointF at(10, 4);
    QMouseEvent click(QEvent::MouseButtonPress, at, at, Qt::RightButton, Qt::RightButton,
                      Qt::ControlModifier | Qt::AltModifier);
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::MiddleButton | Qt::LeftButton, Qt::ShiftModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);  // not every platform gives it a text
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);            // no character: not reported
    for (QEvent* e : std::initializer_list<QEvent*>{&click, &move, &letter, &escape, &f1})
        QApplication::sendEvent(player_.get(), e);
    EXPECT_EQ(reports, QStringList({"click 2 6 150,60", "move 5 1 150,60", "key 65", "key 27"}));
}

// The program's own engine, without picture and sound, on generated files.
TEST(Med_SaverMpvTest, PlaysToTheEndOrFailsWithTheReason) {
    testsupport::TempFolder folder;
    const QString clip = folder.file(QStringLiteral("clip.mp4")), noise = folder.file(QStringLiteral("noise.avi"));
    const QStringList generate = {"-loglevel", "error", "-f",   "lavfi", "-i", "testsrc=s=320x240",
                                  "-f",        "lavfi", "-i", "sine",  "-t", "1", clip};
    ASSERT_EQ(QProcess::execute(QStringLiteral("ffmpeg"), generate), 0);
    testsupport::WriteBytes(noise, QByteArray(4096, 'x'));
    qputenv("ZORSCR_MPV_HEADLESS", "1");
    const std::tuple<QString, double, double, qint32, qint32> cases[] = {  // file, start, end, plays, result
        {clip, 0, 0, 1, 0}, {clip, 0.2, 0.5, 3, 0}, {noise, 0, 0, 1, 1}, {folder.file("gone.avi"), 0, 0, 1, 1},
    };
    for (const auto& [file, start, end, plays, expected] : cases) {
        Med_Saver player(nullptr);
        std::optional<qint32> result;
        QEventLoop loop;
        player.EndOfStream = [&](qint32 r) { result = r, loop.quit(); };
        player.LetAutoStart(false);
        player.LetFileName(file);
        player.LetRate(2);
        player.LetSelectionStart(start);
        player.LetSelectionEnd(end);
        player.LetPlayCount(plays);
        player.LetDisplaySize(Med_Saver::kOwnSize);
        if (expected == 0) EXPECT_EQ(player.Height(), 3600);  // the clip's 240 pixels
        player.Play();
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        EXPECT_EQ(result, expected);
        EXPECT_EQ(player.ErrorDescription().contains(file), expected == 1) << player.ErrorDescription().toStdString();
    }

    // An option mpv rejects is a player that cannot start, with mpv's reason.
    const std::pair<const char*, const char*> misspelt[] = {{"keep-opne", "yes"}};
    try {
        platform::media::NewMpvEngine(misspelt);
        ADD_FAILURE() << "the player started";
    } catch (const vb::VbError& e) {
        EXPECT_EQ(QString::number(e.number()) + u' ' + e.description(),
                  "429 libmpv option keep-opne=yes: option not found");
    }
    qunsetenv("ZORSCR_MPV_HEADLESS");
}

}  // namespace
