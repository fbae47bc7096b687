#pragma once
// A black frameless window over a monitor other than the primary one, for
// the length of a show. Input on it acts as input on the show window
// (pointer positions mapped into that window's coordinates); while a web
// page is shown there is no show window, and input on it is ignored. GUI
// thread; owned by the screen covers (ScreenCovers).

#include <QWidget>

class QScreen;

namespace show {

class SideCover : public QWidget {
public:
    explicit SideCover(QScreen* screen);
    // The primary show began the entry at position (1-based).
    virtual void PrimaryStarted(int position) { (void)position; }

protected:
    // Keys and the mouse go on to the show window.
    bool event(QEvent* event) override;
};

}  // namespace show
