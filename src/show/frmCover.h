#pragma once
// The show window: black, without border, over the whole primary screen (or
// inside the preview area). It holds the media player, the image control for
// still pictures and the timer that ends a still. Its handlers only raise the
// shared flags or end the program; the show loop does the rest.

#include <QWidget>
#include <memory>
#include <optional>

#include "platform/media/PlayerEngine.h"
#include "platform/ui/ImageControl.h"
#include "show/Med_Saver.h"
#include "show/MovementTest.h"

namespace config {
class Movie;
}  // namespace config
class QTimer;

namespace show {

class frmCover : public QWidget {
    // The class is defined over three files; its declarations are grouped
    // under the file that holds them.
public:
    // ---- frmCover.cpp: making, loading and unloading the window ----

    // The load step runs here. Without an engine the player uses the
    // program's own.
    explicit frmCover(std::unique_ptr<platform::media::PlayerEngine> engine = {});
    ~frmCover() override;

    // False when nothing stands in the way of ending the show.
    bool PasswordExit();

    // The controls, by their design names.
    show::Med_Saver* Med_Saver;
    platform::ImageControl* Img_Stillc;
    QTimer* StillTimerc;  // single shot, once per still picture

    // Load step and unload (StopEntry).
    void Form_Load();
    void Form_Unload();

    // ---- ShowInput.cpp: the user's keys, clicks and mouse movement ----

    // Input on the window, the still picture and the player (the controls
    // raise them; tests call them directly). Positions are twips.
    void Form_Click();
    void Form_DblClick();
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyPress(int KeyAscii);
    void Form_KeyUp(int KeyCode, int Shift);
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Form_MouseUp(int Button, int Shift, float X, float Y);
    void Img_Stillc_MouseMove(int Button, int Shift, float X, float Y);
    void Med_Saver_MouseMove(int Button, int Shift, float X, float Y);
    void Med_Saver_KeyPress(int KeyAscii);

    // ---- PlayerEvents.cpp: the player's other events and the still timer ----

    void Med_Saver_EndOfStream(qint32 Result);
    void Med_Saver_Error();
    void Med_Saver_OwnSizeChanged();
    void Med_Saver_Click(int Button, int Shift, float X, float Y);
    void StillTimerc_Timer();

protected:
    // ---- frmCover.cpp: Qt's events, handed to the handlers above ----

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // ---- frmCover.cpp ----

    void LoadPreview();
    void LoadShowEntry(config::Movie& entry);

    // ---- ShowInput.cpp ----

    // The movement test of the window and of the still picture: true when
    // the event counts as the user moving the mouse.
    bool PointerMoved(MovementTest& moves, int Button, float X, float Y);
    // The end of the show that mouse movement asks for.
    void EndOnMovement();
    // Hand-offs to PasswordExit: the program ends unless a password stops it.
    void PasswordExitForKey();
    void PasswordExitWithCursor();

    // ---- The window's state, shared by the three files ----

    MovementTest WindowMoves;
    MovementTest StillMoves;
    MovementTest PlayerMoves;  // counted only: the player reports real moves
    bool IgnoreNextPlayerMove = false;
    // How the button now down went down on the window itself: the release
    // that follows is the window's (a single press ends in a Click).
    enum class Press { None, Single, Double };
    Press press_ = Press::None;
    // The entries the window's last two presses went down in: a double click
    // that comes after the show has moved on since its first click (which did
    // that, or was another control's) does not end the next entry.
    std::optional<quint32> pressEntry_, firstPressEntry_;
};

}  // namespace show
