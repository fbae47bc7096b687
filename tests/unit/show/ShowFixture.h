#pragma once
// The show's test fixtures: a fake media engine, and a program state with a
// collection built in memory, the show window made with a scripted player,
// the web page window with a fake browser, and the cursor count put back
// afterwards.

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "config/Instances.h"
#include "platform/media/PlayerEngine.h"
#include "platform/ui/Cursor.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "support/TestSupport.h"
#include "unit/web/FakeBrowserEngine.h"
#include "web/frmZORWeb.h"

namespace testsupport {

// Records what it was set to and asked to do. Raised by hand
// (EndOfFile), or scripted: a clip opened becomes ready (320 x 240)
// and, with playsToEnd, ends, each from the event loop; only the clip opened
// last goes on.
class FakePlayerEngine : public platform::media::PlayerEngine {
public:
    QWidget* View() override { return nullptr; }
    void Open(const QString& url) override {
        calls << QStringLiteral("Open ") + url;
        ready = false;
        if (scripted) QTimer::singleShot(0, &context_, [this, clip = ++opened_] { Opened(clip); });
    }
    void Prepare(const QString& url, double start) override {
        if (prepared) *prepared << QStringLiteral("%1 %2").arg(url).arg(start);
    }
    void Close() override { calls << QStringLiteral("Close"); }
    void FadeInOver(const QImage& before) override { fadedFrom = before; }
    void Play() override { calls << QStringLiteral("Play"); }
    void Pause() override { calls << QStringLiteral("Pause"); }
    double Position() const override { return position; }
    void Seek(double seconds) override { calls << QStringLiteral("Seek %1").arg(position = seconds); }
    double Duration() const override { return duration; }
    bool IsReady() const override { return ready; }
    QSize VideoSize() const override { return size; }
    void SetSpeed(double factor) override { speed = factor; }
    void SetVolume(double value) override { amplitude = value; }
    void SetChannelGains(double l, double r) override { left = l, right = r; }
    void SetMute(bool) override {}
    void SetCover(bool) override {}
    void SetPart(double start, double end) override { partStart = start, partEnd = end; }
    void SetPlayCount(int value) override { plays = value; }

    // What it was set to: amplitude, channel gains, speed, part and plays.
    QString Settings() const {
        return QStringLiteral("%1 %2/%3 x%4 %5-%6 %7").arg(amplitude, 0, 'g', 4).arg(left).arg(right).arg(speed)
            .arg(partStart).arg(partEnd).arg(plays);
    }

    QStringList calls;
    QStringList* prepared = nullptr;  // "url start" of each Prepare
    double position = 0, duration = 1, speed = 0, amplitude = -1, left = -1, right = -1, partStart = -1, partEnd = -1;
    int plays = -1;
    bool ready = false, scripted = false, playsToEnd = false, failsToOpen = false;
    QSize size;
    QImage fadedFrom;  // the picture the last clip faded in over
    std::function<void()> beforeEnd;  // runs just before a clip ends

private:
    void Opened(int clip) {
        if (clip != opened_) return;
        if (failsToOpen) return EndOfFile(true, QStringLiteral("cannot open clip %1").arg(clip));
        size = {320, 240};
        ready = true;
        Ready();
        if (playsToEnd) QTimer::singleShot(0, &context_, [this, clip] {
            if (clip != opened_) return;
            if (beforeEnd) beforeEnd();
            EndOfFile(false, {});
        });
    }

    int opened_ = 0;
    QObject context_;  // its timers go with the engine
};


class ShowTest : public ProgramFolderTest {
protected:
    ShowTest() : cursorAtStart_(platform::CursorDisplayCount()) {
        show::SetCoverMaker([this] {
            auto engine = std::make_unique<FakePlayerEngine>();
            player_ = engine.get();
            player_->scripted = true;
            player_->prepared = &prepared_;
            if (configurePlayer_) configurePlayer_(*player_);
            return std::make_unique<show::frmCover>(std::move(engine));
        });
        show::SetZORWebMaker([] { return std::make_unique<web::frmZORWeb>(std::make_unique<FakeBrowserEngine>()); });
    }
    ~ShowTest() override {
        Fresh();
        show::SetCoverMaker({});
        show::SetZORWebMaker({});
        while (CursorShown() < 0) platform::ShowCursor(true);
        while (CursorShown() > 0) platform::ShowCursor(false);
    }

    // A program that has just started, without windows.
    static void Fresh() { show::UnloadCover(), show::UnloadZORWeb(), ResetProgramState(); }
    static config::Movie& AddEntry(const QString& name, const QString& path = QStringLiteral("/media/")) {
        config::Movie entry;
        entry.LetMovieName(name);
        entry.LetPath(path);
        entry.LetPlayFullScreen(true);
        config::gMovies().Add(std::move(entry));
        return config::gMovies().Item(config::gMovies().Count());
    }
    int CursorShown() const { return platform::CursorDisplayCount() - cursorAtStart_; }

    FakePlayerEngine* player_ = nullptr;  // the player of the show window made last
    std::function<void(FakePlayerEngine&)> configurePlayer_;
    QStringList prepared_;  // "file start" of each clip any player prepared

private:
    int cursorAtStart_;
};

}  // namespace testsupport
