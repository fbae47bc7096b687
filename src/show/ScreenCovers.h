#pragma once
// Windows over every screen but the primary one, for the length of a show:
// black covers (SideCover) while the show plays on the primary screen, or
// with --monitors each a show of their own (SideShow). Input on them acts as
// input on the show window, and a right click brings the remote control to
// the monitor clicked. Screens plugged in or out during the show are
// covered or uncovered as they come and go.

namespace show {

// Covers the other screens from now until the program ends.
void CoverOtherScreens();

}  // namespace show
