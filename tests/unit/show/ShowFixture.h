#pragma once
// A run state with a collection built in memory, the show window made with a
// scripted player, the web page window with a fake browser, message boxes
// recorded instead of shown, and the cursor count put back afterwards.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "config/Instances.h"
#include "FakePlayerEngine.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "support/ProgramFolder.h"
#include "unit/web/FakeBrowserEngine.h"
#include "web/frmZORWeb.h"

namespace testsupport {

// A player whose clips open and, when asked, play to their end on their own,
// each from the event loop (zero-delay timers). Only the clip opened last
// ends: one that was opened again before it got going is forgotten.
class ScriptedPlayer : public FakePlayerEngine {
public:
    void Open(const QString& url) override {
        FakePlayerEngine::Open(url);
        const int clip = ++opened_;
        QTimer::singleShot(0, &context_, [this, clip, url] {
            if (clip != opened_) return;
            if (unopenable.contains(url)) {
                RaiseEndOfFile(true);
                return;
            }
            RaiseReady(clipSize);
            if (!playsToEnd) return;
            QTimer::singleShot(0, &context_, [this, clip] {
                if (clip != opened_) return;
                if (beforeEnd) beforeEnd();
                RaiseEndOfFile(false);
            });
        });
    }

    QStringList unopenable;   // clips that fail to open; the others become ready
    bool playsToEnd = false;  // and then play to their end
    QSize clipSize{320, 240};
    std::function<void()> beforeEnd;

private:
    int opened_ = 0;
    QObject context_;  // its timers go with the player
};

class ShowTest : public ProgramFolderTest {
protected:
    ShowTest() : cursorAtStart_(platform::CursorDisplayCount()) {
        SetCoverMaker([this] {
            auto engine = std::make_unique<ScriptedPlayer>();
            player_ = engine.get();
            if (configurePlayer_) configurePlayer_(*player_);
            return std::make_unique<frmCover>(std::move(engine));
        });
        SetZORWebMaker([] { return std::make_unique<frmZORWeb>(std::make_unique<FakeBrowserEngine>()); });
        previousBox_ = platform::SetMessageBoxHook(
            [this](const QString& text, const QString& title) { messages_.push_back({text, title}); });
    }
    ~ShowTest() override {
        UnloadCover();
        UnloadZORWeb();
        SetCoverMaker({});
        SetZORWebMaker({});
        platform::SetMessageBoxHook(previousBox_);
        while (platform::CursorDisplayCount() < cursorAtStart_) platform::ShowCursor(true);
        while (platform::CursorDisplayCount() > cursorAtStart_) platform::ShowCursor(false);
    }

    static Movie& AddEntry(const QString& name, const QString& path = QStringLiteral("/media/")) {
        Movie entry;
        entry.LetMovieName(name);
        entry.LetPath(path);
        entry.LetPlayFullScreen(true);
        gMovies().Add(std::move(entry));
        return gMovies().Item(gMovies().Count());
    }

    int CursorShown() const { return platform::CursorDisplayCount() - cursorAtStart_; }

    ScriptedPlayer* player_ = nullptr;  // the player of the show window made last
    std::function<void(ScriptedPlayer&)> configurePlayer_;
    std::vector<std::pair<QString, QString>> messages_;  // text, title

private:
    int cursorAtStart_;
    std::function<void(const QString&, const QString&)> previousBox_;
};

}  // namespace testsupport
