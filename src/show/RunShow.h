#pragma once
// The show loop of a full-screen show: starts each entry of the collection by
// its kind, waits until the entry is over, and moves on, wrapping to the
// first entry after the last. The program ends from inside it.

#include <QtGlobal>

namespace show {

[[noreturn]] void RunShow();

// Shows web page entry position of the collection in the web page window,
// modally, and marks the entry done once the window has closed.
void ShowWebEntry(qint16 position);

}  // namespace show
