#pragma once
// The show loop of a full-screen show: starts each entry of the collection by
// its kind, waits until the entry is over, and moves on, wrapping to the
// first entry after the last. The program ends from inside it.

#include <QRect>
#include <QtGlobal>

namespace show {

// offset: the show starts that many entries after the entry it would start
// with (its first, or where --resume left it), so that copies of the
// program on several monitors do not show the same entries together.
[[noreturn]] void RunShow(int offset = 0);

// Shows web page entry position of the collection in the web page window,
// modally, and marks the entry done once the window has closed.
void ShowWebEntry(qint16 position);

// The show's screen changed (a host's window resized, the primary monitor's
// mode changed): the show window and the page window take place (pixels),
// and the entry showing is placed again, a full-screen one filling it.
void PlaceShowIn(const QRect& place);

}  // namespace show
