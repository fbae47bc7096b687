#pragma once
// The count of the mouse moves that one control reports, and the jitter test
// of the window and the still picture: how the show tells a user moving the
// mouse from the moves a window gets without one.

#include <QtGlobal>

namespace show {

class MovementTest {
public:
    // Counts one move (past 100 the count starts again at 3). False for the
    // control's first move, which is where the pointer already was.
    bool CountMove();

    // True when |X - Y| lies outside 10% around the reference, which the
    // control's second move sets (positions in twips).
    bool Moved(float X, float Y);

    // The next move counts as the first again.
    void Restart() { count_ = 0; }

private:
    qint32 count_ = 0;
    qint32 reference_ = 0;
};

}  // namespace show
