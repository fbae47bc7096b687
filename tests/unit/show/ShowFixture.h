#pragma once
// A program state with a collection built in memory, the show window made
// with a scripted player, the web page window with a fake browser, message
// boxes recorded instead of shown, and the cursor count put back afterwards.

#include <functional>
#include <memory>

#include "FakePlayerEngine.h"
#include "config/Instances.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "support/ProgramFolder.h"
#include "unit/web/FakeBrowserEngine.h"
#include "web/frmZORWeb.h"

namespace testsupport {

class ShowTest : public ProgramFolderTest {
protected:
    ShowTest() : cursorAtStart_(platform::CursorDisplayCount()) {
        SetCoverMaker([this] {
            auto engine = std::make_unique<FakePlayerEngine>();
            player_ = engine.get();
            player_->scripted = true;
            if (configurePlayer_) configurePlayer_(*player_);
            return std::make_unique<frmCover>(std::move(engine));
        });
        SetZORWebMaker([] { return std::make_unique<frmZORWeb>(std::make_unique<FakeBrowserEngine>()); });
        previousBox_ = platform::SetMessageBoxHook([this](const QString& text, const QString& title) {
            messages_.push_back(text + u'|' + title);
        });
    }
    ~ShowTest() override {
        Fresh();
        SetCoverMaker({});
        SetZORWebMaker({});
        platform::SetMessageBoxHook(previousBox_);
        while (CursorShown() < 0) platform::ShowCursor(true);
        while (CursorShown() > 0) platform::ShowCursor(false);
    }

    // A program that has just started, without windows.
    static void Fresh() {
        UnloadCover();
        UnloadZORWeb();
        ResetProgramState();
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

    FakePlayerEngine* player_ = nullptr;  // the player of the show window made last
    std::function<void(FakePlayerEngine&)> configurePlayer_;
    QStringList messages_;  // "text|title"

private:
    int cursorAtStart_;
    std::function<void(const QString&, const QString&)> previousBox_;
};

}  // namespace testsupport
