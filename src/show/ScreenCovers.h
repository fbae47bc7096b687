#pragma once
// Windows over every screen but the primary one, for the length of a show:
// black covers (SideCover) while the show plays on the primary screen, with
// --monitors each a show of their own (SideShow), with --monitors mirror
// the primary screen's picture (MirrorCover). Input on them acts as
// input on the show window, and a right click brings the remote control to
// the monitor clicked. Screens plugged in or out during the show are
// covered or uncovered as they come and go; when the primary screen changes
// its mode, the show's windows take its new place and size.

class QScreen;

namespace show {

// The number of a monitor: 0 for the primary one, then the others from
// left to right and top to bottom (1, 2, ...); a show on monitor k starts
// k entries on.
int MonitorNumber(const QScreen* screen);

// Covers the other screens from now until the program ends.
void CoverOtherScreens();

// The show loop began the entry at position (1-based): the other screens'
// shows follow (a side show moves off it, a mirror shows its still).
void CoversFollowEntry(int position);

}  // namespace show
