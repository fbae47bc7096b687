#pragma once
// A black frameless window over a monitor other than the primary one, for
// the length of a show. Input on it acts as input on the show window
// (pointer positions mapped into that window's coordinates); while a web
// page is shown there is no show window, and input on it is ignored. GUI
// thread; owned by the screen covers (ScreenCovers).

#include <QWidget>

class QMouseEvent;
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

private:
    // Whether a press is the second of a double click. Qt raises no double
    // click on a window of a second X screen when the first click moved the
    // show on, so the cover tells one itself from the presses' times.
    bool SecondPress(const QMouseEvent& press);

    struct {
        quint64 time = 0;  // ms, the window system's clock
        Qt::MouseButton button = Qt::NoButton;
        QPointF at;
    } lastPress_;
};

}  // namespace show
