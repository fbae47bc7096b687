// The input rules of the show window, its still picture and its player, and
// the events that end an entry. An outcome reads: E the program ended,
// S gStopRequest, D gEntryDone, Q gQuit, then the change of the cursor's
// display count when there is one ("+1": shown once).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

#include "ShowFixture.h"
#include "platform/vb/EndProgram.h"

namespace {

constexpr qint16 kShow = kRunModeShow, kPreview = kRunModePreview;

class ShowInputTest : public testsupport::ShowTest {
protected:
    // A fresh show window over an empty collection: its load step starts nothing.
    frmCover& Cover(qint16 runMode, bool exitOnMove = true, bool noRemote = false, bool password = false) {
        Fresh();
        gRunMode = runMode;
        gExitOnMouseMove = exitOnMove;
        gNoRemote = noRemote;
        gUsePassword = password;
        return TheCover();
    }
    QString Outcome(const std::function<void()>& input) {
        const int cursor = CursorShown();
        QString outcome;
        try {
            input();
        } catch (const vb::ProgramEnded&) {
            outcome += u'E';
        }
        for (const auto& [flag, letter] : {std::pair{gStopRequest, u'S'}, {gEntryDone, u'D'}, {gQuit, u'Q'}})
            if (flag) outcome += letter;
        if (const int shown = CursorShown() - cursor) outcome += (shown > 0 ? "+" : "") + QString::number(shown);
        return outcome;
    }
};

struct Move {
    float x, y;
    int button = 0;
};

std::vector<Move> Moves(std::vector<Move> first, Move repeated = {}, int times = 0) {
    first.insert(first.begin(), static_cast<size_t>(times), repeated);
    return first;
}

TEST_F(ShowInputTest, MovementTestOfTheWindowAndTheStill) {
    struct Case {
        const char* name;
        qint16 runMode;
        bool exitOnMove, noRemote, password;
        std::vector<Move> moves;
        QString outcome;
    };
    const Case cases[] = {
        {"the first move never counts", kShow, true, false, false, {{0, 5000}}, ""},
        {"exactly 10% off is still jitter", kShow, true, false, false, {{0, 1000}, {0, 1000}, {0, 1100}, {0, 900}}, ""},
        {"more than 10% above", kShow, true, false, false, {{0, 1000}, {0, 1000}, {0, 1101}}, "E+1"},
        {"more than 10% below", kShow, true, false, false, {{0, 1000}, {0, 1000}, {0, 899}}, "E+1"},
        {"a reference of 0", kShow, true, false, false, {{40, 40}, {50, 50}, {10, 20}}, "E+1"},
        {"movement switched off", kShow, false, false, false, {{0, 0}, {0, 0}, {0, 9000}}, ""},
        {"a password hides the cursor again", kShow, true, false, true, {{0, 1000}, {0, 1000}, {0, 5000}}, "-1"},
        {"preview ends at once", kPreview, true, false, true, {{0, 1000}, {0, 1000}, {0, 5000}}, "E"},
        {"right button held: quit at the loop's wait", kShow, true, false, false, {{0, 1000}, {0, 1000, 2}}, "SDQ"},
        {"right button held without the remote", kShow, true, true, false, {{0, 1000}, {0, 1000, 2}}, ""},
        {"a count past 100 goes on testing", kShow, true, false, false, Moves({{0, 500}}, {0, 100}, 101), "E+1"},
    };
    for (const bool still : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(still ? "still: " : "window: ") + c.name);
            frmCover& cover = Cover(c.runMode, c.exitOnMove, c.noRemote, c.password);
            EXPECT_EQ(Outcome([&] {
                          for (const Move& m : c.moves)
                              still ? cover.Img_Stillc_MouseMove(m.button, 0, m.x, m.y)
                                    : cover.Form_MouseMove(m.button, 0, m.x, m.y);
                      }),
                      c.outcome);
            // Only the window's own test pauses the player, once the move counts.
            const bool moved = !c.outcome.isEmpty() && c.outcome != "SDQ";
            EXPECT_EQ(player_->calls.contains(QStringLiteral("Pause")), !still && moved);
        }
    }
}

TEST_F(ShowInputTest, MovementReportedByThePlayer) {
    struct Case {
        const char* name;
        qint16 runMode;
        bool exitOnMove, password;
        int endBefore;  // an end of stream comes before this move (0: none)
        int moves;
        QString outcome;
    };
    const Case cases[] = {
        {"the first move is ignored", kShow, true, false, 0, 1, ""},
        {"the second ends the show", kShow, true, false, 0, 2, "E+1"},
        {"the two after an end of stream are ignored", kShow, true, false, 2, 3, "D"},
        {"movement switched off", kShow, false, false, 0, 10, ""},
        {"preview asks for the password too", kPreview, true, true, 0, 2, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmCover& cover = Cover(c.runMode, c.exitOnMove, false, c.password);
        EXPECT_EQ(Outcome([&] {
                      for (int i = 1; i <= c.moves; ++i) {
                          if (i == c.endBefore) cover.Med_Saver_EndOfStream(0);
                          cover.Med_Saver_MouseMove(0, 0, 100.0f * i, 0);
                      }
                  }),
                  c.outcome);
    }
}

TEST_F(ShowInputTest, KeysClicksAndTheEndOfAnEntry) {
    using Input = std::function<void(frmCover&)>;
    const Input escape = [](frmCover& w) { w.Form_KeyPress(27); };
    const Input leftOnPlayer = [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); };
    const Input endOfStream = [](frmCover& w) { w.Med_Saver_EndOfStream(0); };
    struct Case {
        const char* name;
        qint16 runMode;
        bool noRemote, password, holdRepeat;
        Input input;
        QString outcome;
    };
    const Case cases[] = {
        {"key down in a show", kShow, false, false, false, [](frmCover& w) { w.Form_KeyDown(65, 0); }, "S+1"},
        {"key down in preview", kPreview, false, false, false, [](frmCover& w) { w.Form_KeyDown(65, 0); }, "+1"},
        {"a key press", kShow, false, false, false, [](frmCover& w) { w.Form_KeyPress(65); }, "S"},
        {"Escape pressed", kShow, false, false, false, escape, "E"},
        {"Escape pressed under a password", kShow, false, true, false, escape, "S"},
        {"another key let go", kShow, false, false, false, [](frmCover& w) { w.Form_KeyUp(65, 0); }, "S"},
        {"Escape on the player", kShow, false, false, false, [](frmCover& w) { w.Med_Saver_KeyPress(27); }, "E+1"},
        {"a key on the player", kShow, false, false, false, [](frmCover& w) { w.Med_Saver_KeyPress(65); }, "+1"},
        {"click in preview", kPreview, false, false, false, [](frmCover& w) { w.Form_Click(); }, "S+1"},
        {"double click", kShow, false, false, false, [](frmCover& w) { w.Form_DblClick(); }, "S"},
        {"right button up in preview", kPreview, false, false, false,
         [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, "SD"},
        {"right button up in a show: the remote", kShow, false, false, false,
         [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, ""},
        {"left click on the player", kShow, false, false, false, leftOnPlayer, "D+1"},
        {"right click on the player: the remote", kShow, false, false, false,
         [](frmCover& w) { w.Med_Saver_Click(2, 0, 0, 0); }, "+1"},
        {"left click on the player without the remote", kShow, true, false, false, leftOnPlayer, "+1"},
        {"end of stream", kShow, false, false, false, endOfStream, "D"},
        {"end of stream with repeat held", kShow, false, false, true, endOfStream, ""},
        {"the still timer", kShow, false, false, false,
         [](frmCover& w) { w.StillTimerc->start(60000), w.StillTimerc_Timer(); }, "D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmCover& cover = Cover(c.runMode, true, c.noRemote, c.password);
        gHoldRepeat = c.holdRepeat;
        EXPECT_EQ(Outcome([&] { c.input(cover); }), c.outcome);
        EXPECT_FALSE(cover.StillTimerc->isActive());
    }
}

TEST_F(ShowInputTest, WindowEventsReachTheirHandlers) {
    using Send = std::function<void(QWidget&)>;
    const auto mouse = [](QEvent::Type type, Qt::MouseButton button) -> Send {
        return [=](QWidget& w) {
            QMouseEvent e(type, QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), button, button, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &e);
        };
    };
    const auto key = [](QEvent::Type type, int code, const QString& text) -> Send {
        return [=](QWidget& w) {
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
        QString outcome;
    };
    const Case cases[] = {
        {"a click: MouseUp, then Click", kShow, {leftDown, leftUp}, "S+1"},
        {"a release without its press is not the window's", kPreview, {rightUp}, ""},
        {"right click in preview: MouseUp and Click", kPreview, {rightDown, rightUp}, "SD+1"},
        {"a double click clicks once", kShow, {leftDown, leftUp, leftDouble, leftUp}, "S+1"},
        {"a key: KeyDown and KeyPress", kShow, {key(QEvent::KeyPress, Qt::Key_A, QStringLiteral("a"))}, "S+1"},
        {"Escape under a password goes on", kShow,
         {key(QEvent::KeyPress, Qt::Key_Escape, QString()), key(QEvent::KeyRelease, Qt::Key_Escape, QString())}, "S+1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmCover& cover = Cover(c.runMode, false, false, true);
        EXPECT_EQ(Outcome([&] {
                      for (const Send& send : c.events) send(cover);
                  }),
                  c.outcome);
    }
    UnloadCover();
    EXPECT_TRUE(gStopRequest);  // unloading the window abandons the entry
}

}  // namespace
