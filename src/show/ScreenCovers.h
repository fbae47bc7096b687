#pragma once
// Black windows over every screen but the primary one, for the length of a
// show: the show itself plays on the primary screen. Input on them acts as
// input on the show window. Screens plugged in or out during the show are
// covered or uncovered as they come and go.

namespace show {

// Covers the other screens from now until the program ends.
void CoverOtherScreens();

}  // namespace show
