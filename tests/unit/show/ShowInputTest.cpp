// The input rules of the show window, its still picture and its player, and
// the events that end an entry. A case's settings read: m mouse movement
// ends the show, n no remote control, p a password in force, h repeat held.
// An outcome reads: E the program ended, S gStopRequest, D gEntryDone,
// Q gQuit, then the change of the cursor's display count ("+1": shown once).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

#include "ShowFixture.h"
#include "platform/ui/ModalShow.h"

using namespace state;
using namespace show;

namespace {

constexpr qint16 kShow = kRunModeShow, kPreview = kRunModePreview;

class ShowInputTest : public testsupport::ShowTest {
protected:
    // The password check is answered at once, as Cancel would: the show goes on.
    ShowInputTest() : previousModal_(platform::SetModalShowHook([](QWidget&) {})) {}
    ~ShowInputTest() override { platform::SetModalShowHook(previousModal_); }
    std::function<void(QWidget&)> previousModal_;

    // A fresh show window over an empty collection: its load step starts nothing.
    frmCover& Cover(qint16 runMode, const QString& settings) {
        Fresh();
        gRunMode = runMode;
        gExitOnMouseMove = settings.contains(u'm');
        gNoRemote = settings.contains(u'n');
        gUsePassword = settings.contains(u'p');
        gHoldRepeat = settings.contains(u'h');
        return TheCover();
    }
    QString Outcome(const std::function<void()>& input) {
        const int cursor = CursorShown();
        QString outcome = EndsProgram(input) ? QStringLiteral("E") : QString();
        for (const auto& [flag, letter] : {std::pair{gStopRequest, u'S'}, {gEntryDone, u'D'}, {gQuit, u'Q'}})
            if (flag) outcome += letter;
        if (const int shown = CursorShown() - cursor) outcome += (shown > 0 ? "+" : "") + QString::number(shown);
        return outcome;
    }
};

struct Move { float x, y; int button = 0; };

TEST_F(ShowInputTest, MovementTestOfTheWindowAndTheStill) {
    std::vector<Move> pastHundred(101, {0, 100});  // the count starts again at 3 and goes on testing
    pastHundred.push_back({0, 500});
    const struct { qint16 runMode; QString settings; std::vector<Move> moves; QString outcome; } cases[] = {
        {kShow, "m", {{0, 5000}}, ""},  // the first move never counts
        {kShow, "m", {{0, 1000}, {0, 1000}, {0, 1100}, {0, 900}}, ""},  // 10% off the reference is jitter
        {kShow, "m", {{0, 1000}, {0, 1000}, {0, 1101}}, "E+1"},
        {kShow, "m", {{0, 1000}, {0, 1000}, {0, 899}}, "E+1"},
        {kShow, "m", {{40, 40}, {50, 50}, {10, 20}}, "E+1"},  // a reference of 0
        {kShow, "", {{0, 0}, {0, 0}, {0, 9000}}, ""},
        {kShow, "mp", {{0, 1000}, {0, 1000}, {0, 5000}}, "-1"},  // the password dialog hides the cursor again
        {kPreview, "mp", {{0, 1000}, {0, 1000}, {0, 5000}}, "E"},
        {kShow, "m", {{0, 1000}, {0, 1000, 2}}, "SDQ"},  // the right button held: quit at the loop's next wait
        {kShow, "mn", {{0, 1000}, {0, 1000, 2}}, ""},
        {kShow, "m", pastHundred, "E+1"},
    };
    for (const bool still : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << (still ? "still, case " : "window, case ") << &c - cases);
            frmCover& cover = Cover(c.runMode, c.settings);
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

TEST_F(ShowInputTest, KeysClicksPlayerMovesAndTheEndOfAnEntry) {
    using Input = std::function<void(frmCover&)>;
    const Input escape = [](frmCover& w) { w.Form_KeyPress(27); };
    const Input leftOnPlayer = [](frmCover& w) { w.Med_Saver_Click(1, 0, 0, 0); };
    const Input endOfStream = [](frmCover& w) { w.Med_Saver_EndOfStream(0); };
    const auto keyOnPlayer = [](int key, const char* text) -> Input {
        return [=](frmCover& w) { testsupport::SendKey(*w.Med_Saver, key, text); };
    };
    // Moves over the player, no button held, with an end of stream before the one given.
    const auto playerMoves = [](int moves, int endBefore = 0) -> Input {
        return [=](frmCover& w) {
            for (int i = 1; i <= moves; ++i) {
                if (i == endBefore) w.Med_Saver_EndOfStream(0);
                QMouseEvent move(QEvent::MouseMove, QPointF(i, 0), QPointF(i, 0), Qt::NoButton, Qt::NoButton, {});
                QCoreApplication::sendEvent(w.Med_Saver, &move);
            }
        };
    };
    const struct { const char* name; qint16 runMode; QString settings; Input input; QString outcome; } cases[] = {
        {"key down in a show", kShow, "", [](frmCover& w) { w.Form_KeyDown(65, 0); }, "S+1"},
        {"a key press", kShow, "", [](frmCover& w) { w.Form_KeyPress(65); }, "S"},
        {"Escape pressed", kShow, "", escape, "E"},
        {"Escape pressed under a password", kShow, "p", escape, "S"},
        {"another key let go", kShow, "", [](frmCover& w) { w.Form_KeyUp(65, 0); }, "S"},
        {"Escape on the player", kShow, "", keyOnPlayer(Qt::Key_Escape, "\x1b"), "E+1"},
        {"another key on the player", kShow, "", keyOnPlayer(Qt::Key_A, "a"), "+1"},
        {"double click", kShow, "", [](frmCover& w) { w.Form_DblClick(); }, "S"},
        {"right button up in preview", kPreview, "", [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, "SD"},
        {"right button up in a show: the remote", kShow, "", [](frmCover& w) { w.Form_MouseUp(2, 0, 0, 0); }, ""},
        {"left click on the player", kShow, "", leftOnPlayer, "D+1"},
        {"right click on the player: the remote", kShow, "", [](frmCover& w) { w.Med_Saver_Click(2, 0, 0, 0); }, "+1"},
        {"left click on the player without the remote", kShow, "n", leftOnPlayer, "+1"},
        {"end of stream", kShow, "", endOfStream, "D"},
        {"end of stream with repeat held", kShow, "h", endOfStream, ""},
        {"the still timer", kShow, "", [](frmCover& w) { w.StillTimerc->start(60000), w.StillTimerc_Timer(); }, "D"},
        {"the player's first move is ignored", kShow, "m", playerMoves(1), ""},
        {"its second ends the show", kShow, "m", playerMoves(2), "E+1"},
        {"the two after an end of stream are ignored", kShow, "m", playerMoves(3, 2), "D"},
        {"the third after it ends the show", kShow, "m", playerMoves(4, 2), "ED+1"},
        {"player moves in preview ask for the password", kPreview, "mp", playerMoves(2), "-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        frmCover& cover = Cover(c.runMode, c.settings);
        EXPECT_EQ(Outcome([&] { c.input(cover); }), c.outcome);
        EXPECT_FALSE(cover.StillTimerc->isActive());
    }
}

// Real events reach their handlers. A release is the window's only after its
// own press; a double click clicks once, and not again when the click has
// moved the show on. The events of one key press end one entry: a release
// that comes after the show has moved on asks for nothing more, though
// Escape's still asks for the password. (Keys on the real window: the
// end-to-end tests.)
TEST_F(ShowInputTest, WindowEventsReachTheirHandlers) {
    int checks = 0;
    platform::SetModalShowHook([&](QWidget&) { ++checks; });
    using Event = std::pair<QEvent::Type, int>;  // with a mouse button or a key
    const Event down{QEvent::MouseButtonPress, Qt::LeftButton}, up{QEvent::MouseButtonRelease, Qt::LeftButton};
    const Event doubleClick{QEvent::MouseButtonDblClick, Qt::LeftButton}, right{QEvent::MouseButtonRelease, Qt::RightButton};
    // What the show loop does with a stop request: takes it, and moves on or not.
    const Event taken{QEvent::None, 0}, movedOn{QEvent::None, 1};
    const std::tuple<qint16, std::vector<Event>, QString, int> cases[] = {  // run mode, events, outcome, checks
        {kShow, {down, up}, "S+1", 0},
        {kPreview, {right}, "", 0},
        {kPreview, {{QEvent::MouseButtonPress, Qt::RightButton}, right}, "SD+1", 0},
        {kShow, {down, up, down, doubleClick, up}, "S+1", 0},
        {kShow, {down, up, movedOn, down, doubleClick, up}, "+1", 0},
        {kShow, {{QEvent::KeyPress, Qt::Key_A}, taken, {QEvent::KeyRelease, Qt::Key_A}}, "S+1", 0},
        {kShow, {{QEvent::KeyPress, Qt::Key_A}, movedOn, {QEvent::KeyRelease, Qt::Key_A}}, "+1", 0},
        {kShow, {{QEvent::KeyPress, Qt::Key_Escape}, movedOn, {QEvent::KeyRelease, Qt::Key_Escape}}, "+1", 2},
    };
    for (const auto& [runMode, events, outcome, checksMade] : cases) {
        frmCover& cover = Cover(runMode, "p");
        checks = 0;
        EXPECT_EQ(Outcome([&] {
                      for (const auto& [type, code] : events) {
                          if (type == QEvent::None) {
                              gStopRequest = false;
                              gEntriesStarted += code;
                          } else if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
                              QKeyEvent e(type, code, Qt::NoModifier, code == Qt::Key_Escape ? "\x1b" : "a");
                              QCoreApplication::sendEvent(&cover, &e);
                          } else {
                              const auto button = Qt::MouseButton(code);
                              QMouseEvent e(type, QPointF(10, 10), cover.mapToGlobal(QPointF(10, 10)), button, button, {});
                              QCoreApplication::sendEvent(&cover, &e);
                          }
                      }
                  }),
                  outcome);
        EXPECT_EQ(checks, checksMade) << outcome.toStdString();
    }
    UnloadCover();
    EXPECT_TRUE(gStopRequest);  // unloading the window abandons the entry
}

}  // namespace
