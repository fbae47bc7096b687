// The input rules of the show window, its still picture and its player, and
// the events that end an entry.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <vector>

#include "platform/vb/EndProgram.h"
#include "ShowFixture.h"

namespace {

enum class Target { Window, Still, Player };

struct Move {
    float x, y;
    int button = 0;
};

struct Outcome {
    bool ended = false;
    bool stop = false, done = false, quit = false;
    int cursor = 0;  // change of the display count
};

class ShowInputTest : public testsupport::ShowTest {
protected:
    // A show window over an empty collection: its load step starts nothing.
    frmCover& Cover(qint16 runMode, bool exitOnMove, bool noRemote, bool password) {
        gRunMode = runMode;
        gExitOnMouseMove = exitOnMove;
        gNoRemote = noRemote;
        gUsePassword = password;
        return TheCover();
    }
    // Runs action; the flags and the cursor as it left them.
    Outcome Run(const std::function<void()>& action) {
        Outcome o;
        try {
            action();
        } catch (const vb::ProgramEnded&) {
            o.ended = true;
        }
        o.stop = gStopRequest;
        o.done = gEntryDone;
        o.quit = gQuit;
        o.cursor = CursorShown();
        return o;
    }
    void Expect(const Outcome& got, const Outcome& want) {
        EXPECT_EQ(got.ended, want.ended);
        EXPECT_EQ(got.stop, want.stop);
        EXPECT_EQ(got.done, want.done);
        EXPECT_EQ(got.quit, want.quit);
        EXPECT_EQ(got.cursor, want.cursor);
    }
    void Moves(frmCover& cover, Target target, const std::vector<Move>& moves) {
        for (const Move& m : moves) {
            if (target == Target::Window) cover.Form_MouseMove(m.button, 0, m.x, m.y);
            if (target == Target::Still) cover.Img_Stillc_MouseMove(m.button, 0, m.x, m.y);
            if (target == Target::Player) cover.Med_Saver_MouseMove(m.button, 0, m.x, m.y);
        }
    }
};

std::vector<Move> Repeat(Move move, int times) { return std::vector<Move>(static_cast<size_t>(times), move); }

std::vector<Move> operator+(std::vector<Move> a, const std::vector<Move>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ShowInputTest, MovementTestOfTheWindowAndTheStill) {
    struct Case {
        const char* name;
        qint16 runMode;
        bool exitOnMove, noRemote, password;
        std::vector<Move> moves;
        Outcome outcome;
    };
    const Case cases[] = {
        {"the first move never counts", 2, true, false, false, {{0, 5000}}, {}},
        {"within 10% of the reference", 2, true, false, false, {{100, 1100}, {100, 1100}, {500, 1550}, {0, 905}}, {}},
        {"along a parallel to the diagonal", 2, true, false, false, {{100, 300}, {100, 300}, {2000, 2200}}, {}},
        {"more than 10% above", 2, true, false, false, {{0, 1000}, {0, 1000}, {0, 1101}}, {true, false, false, false, 1}},
        {"more than 10% below", 2, true, false, false, {{0, 1000}, {0, 1000}, {0, 899}}, {true, false, false, false, 1}},
        {"a reference of 0", 2, true, false, false, {{40, 40}, {50, 50}, {10, 20}}, {true, false, false, false, 1}},
        {"mouse movement switched off", 2, false, false, false, {{0, 0}, {0, 0}, {0, 9000}, {9000, 0}}, {}},
        {"a password in force hides the cursor again", 2, true, false, true, {{0, 1000}, {0, 1000}, {0, 5000}},
         {false, false, false, false, -1}},
        {"preview ends at once", 3, true, false, true, {{0, 1000}, {0, 1000}, {0, 5000}}, {true, false, false, false, 0}},
        {"right button held: quit at the loop's next wait", 2, true, false, false,
         {{0, 1000}, {0, 1000, 2}}, {false, true, true, true, 0}},
        {"right button held without the remote", 2, true, true, false, {{0, 1000}, {0, 1000, 2}}, {}},
        {"a count past 100 goes on testing", 2, true, false, false, Repeat({0, 100}, 101) + std::vector<Move>{{0, 500}},
         {true, false, false, false, 1}},
    };
    for (const Target target : {Target::Window, Target::Still}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(target == Target::Window ? "window: " : "still: ") + c.name);
            UnloadCover();
            testsupport::ResetProgramState();
            frmCover& cover = Cover(c.runMode, c.exitOnMove, c.noRemote, c.password);
            const int cursorBefore = CursorShown();
            const qsizetype callsBefore = player_->calls.size();
            Outcome got = Run([&] { Moves(cover, target, c.moves); });
            got.cursor -= cursorBefore;
            Expect(got, c.outcome);
            // Only the window's own test pauses the player.
            const bool paused = player_->calls.mid(callsBefore).contains(QStringLiteral("Pause"));
            EXPECT_EQ(paused, target == Target::Window && (c.outcome.ended || c.outcome.cursor < 0));
        }
    }
}

TEST_F(ShowInputTest, MovementReportedByThePlayer) {
    struct Case {
        const char* name;
        qint16 runMode;
        bool exitOnMove, password;
        int endsBefore;  // an end of stream before this move (0: none)
        int moves;
        Outcome outcome;
    };
    const Case cases[] = {
        {"the first move is ignored", 2, true, false, 0, 1, {}},
        {"the second ends the show", 2, true, false, 0, 2, {true, false, false, false, 1}},
        {"the two moves after an end of stream are ignored", 2, true, false, 2, 3, {false, false, true, false, 0}},
        {"the third after an end of stream counts", 2, true, false, 2, 4, {true, false, true, false, 1}},
        {"movement switched off", 2, false, false, 0, 10, {}},
        {"preview asks for the password too", 3, true, true, 0, 2, {false, false, false, false, -1}},
        {"preview without a password ends", 3, true, false, 0, 2, {true, false, false, false, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnloadCover();
        testsupport::ResetProgramState();
        frmCover& cover = Cover(c.runMode, c.exitOnMove, false, c.password);
        const int cursorBefore = CursorShown();
        Outcome got = Run([&] {
            for (int i = 1; i <= c.moves; ++i) {
                if (i == c.endsBefore) cover.Med_Saver_EndOfStream(0);
                cover.Med_Saver_MouseMove(0, 0, 100.0f * i, 0);
            }
        });
        got.cursor -= cursorBefore;
        Expect(got, c.outcome);
    }
}

TEST_F(ShowInputTest, KeysClicksAndTheEndOfAnEntry) {
    using Action = std::function<void(frmCover&)>;
    struct Case {
        const char* name;
        qint16 runMode;
        bool noRemote, password, holdRepeat;
        Action action;
        Outcome outcome;
    };
    const Action escapePress = [](frmCover& w) { w.Form_KeyPress(27); };
    const Case cases[] = {
        {"key down in a show", 2, false, false, false, [](frmCover& w) { w.Form_KeyDown(65, 0); }, {false, true, false, false, 1}},
        {"key down in preview", 3, false, false, false, [](frmCover& w) { w.Form_KeyDown(65, 0); }, {false, false, false, false, 1}},
        {"a key press", 2, false, false, false, [](frmCover& w) { w.Form_KeyPress(65); }, {false, true, false, false, 0}},
        {"Escape pressed", 2, false, false, false, escapePress, {true, false, false, false, 0}},
        {"Escape pressed under a password", 2, false, true, false, escapePress, {false, true, false, false, 0}},
        {"Escape pressed in preview", 3, false, false, false, escapePress, {}},
        {"Escape let go", 2, false, false, false, [](frmCover& w) { w.Form_KeyUp(27, 0); }, {true, false, false, false, 0}},
        {"another key let go", 2, false, false, false, [](frmCover& w) { w.Form_KeyUp(65, 0); }, {false, true, false, false, 0}},
        {"Escape on the player", 2, false, false, false, [](frmCover& w) { w.Med_Saver_KeyPress(27); }, {true, false, false, false, 1}},
        {"another key on the player", 2, false, false, false, [](frmCover& w) { w.Med_Saver_KeyPress(65); }, {false, false, false, false, 1}},
        {"Escape on the player in preview", 3, false, false, false, [](frmCover& w) { w.Med_Saver_KeyPress(27); }, {false, false, false, false, 1}},
        {"click on the window", 2, false, false, false, [](frmCover& w) { w.Form_Click(); }, {false, true, false, false, 1}},
        {"click on the window in preview", 3, false, false, false, [](frmCover& w) { w.Form_Click(); }, {false, true, false, false, 1}},
        {"double click", 2, false, false, false, [](frmCover& w) { w.Form_DblClick(); }, {false, true, false, false, 0}},
        {"double click in preview", 3, false, false, false, [](frmCover& w) { w.Form_DblClick(); }, {}},
        {"right button up in preview", 3, false, false, false, [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, {false, true, true, false, 0}},
        {"right button up in a show (remote control)", 2, false, false, false, [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, {}},
        {"left button up", 3, false, false, false, [](frmCover& w) { w.Form_MouseUp(1, 0, 0, 0); }, {}},
        {"left click on the player", 2, false, false, false, [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); }, {false, false, true, false, 1}},
        {"right click on the player (remote control)", 2, false, false, false, [](frmCover& w) { w.Med_Saver_Click(2, 0, 0, 0); }, {false, false, false, false, 1}},
        {"left click on the player without the remote", 2, true, false, false, [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); }, {false, false, false, false, 1}},
        {"left click on the player in preview", 3, false, false, false, [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); }, {false, false, false, false, 1}},
        {"end of stream", 2, false, false, false, [](frmCover& w) { w.Med_Saver_EndOfStream(0); }, {false, false, true, false, 0}},
        {"end of stream with repeat held", 2, false, false, true, [](frmCover& w) { w.Med_Saver_EndOfStream(0); }, {}},
        {"the still timer", 2, false, false, false, [](frmCover& w) { w.StillTimerc->start(60000); w.StillTimerc_Timer(); }, {false, false, true, false, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnloadCover();
        testsupport::ResetProgramState();
        frmCover& cover = Cover(c.runMode, true, c.noRemote, c.password);
        gHoldRepeat = c.holdRepeat;
        const int cursorBefore = CursorShown();
        Outcome got = Run([&] { c.action(cover); });
        got.cursor -= cursorBefore;
        Expect(got, c.outcome);
        EXPECT_FALSE(cover.StillTimerc->isActive());
    }
}

TEST_F(ShowInputTest, WindowEventsReachTheirHandlers) {
    using Send = std::function<void(QWidget&)>;
    const auto mouse = [](QEvent::Type type, Qt::MouseButton button) {
        return [type, button](QWidget& w) {
            QMouseEvent e(type, QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), button, button, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &e);
        };
    };
    const auto key = [](QEvent::Type type, int code, const QString& text) {
        return [type, code, text](QWidget& w) {
            QKeyEvent e(type, code, Qt::NoModifier, text);
            QCoreApplication::sendEvent(&w, &e);
        };
    };
    const Send leftDown = mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    const Send leftUp = mouse(QEvent::MouseButtonRelease, Qt::LeftButton);
    const Send rightDown = mouse(QEvent::MouseButtonPress, Qt::RightButton);
    const Send rightUp = mouse(QEvent::MouseButtonRelease, Qt::RightButton);
    const Send leftDouble = mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
    struct Case {
        const char* name;
        qint16 runMode;
        std::vector<Send> events;
        Outcome outcome;
    };
    const Case cases[] = {
        {"a click: MouseUp, then Click", 2, {leftDown, leftUp}, {false, true, false, false, 1}},
        {"a release without its press is not the window's", 3, {rightUp}, {}},
        {"right click in preview: MouseUp and Click", 3, {rightDown, rightUp}, {false, true, true, false, 1}},
        {"a double click clicks once", 2, {leftDown, leftUp, leftDouble, leftUp}, {false, true, false, false, 1}},
        {"a key: KeyDown and KeyPress", 2, {key(QEvent::KeyPress, Qt::Key_A, QStringLiteral("a"))},
         {false, true, false, false, 1}},
        {"Escape under a password goes on", 2,
         {key(QEvent::KeyPress, Qt::Key_Escape, QString()), key(QEvent::KeyRelease, Qt::Key_Escape, QString())},
         {false, true, false, false, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnloadCover();
        testsupport::ResetProgramState();
        frmCover& cover = Cover(c.runMode, false, false, true);
        const int cursorBefore = CursorShown();
        Outcome got = Run([&] {
            for (const Send& send : c.events) send(cover);
        });
        got.cursor -= cursorBefore;
        Expect(got, c.outcome);
    }
}

TEST_F(ShowInputTest, UnloadingTheWindowAbandonsTheEntry) {
    gRunMode = 2;
    TheCover();
    gStopRequest = false;
    UnloadCover();
    EXPECT_TRUE(gStopRequest);
    EXPECT_FALSE(CoverLoaded());
}

}  // namespace
