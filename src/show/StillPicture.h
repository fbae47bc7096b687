#pragma once
// A still picture on the show window: scaled to the screen with the entry's
// proportions (with --fill, a full-screen one covers the screen, cropped),
// and ended by the still timer after the still delay.

namespace config {
class Movie;
}  // namespace config

namespace show {

class frmCover;

void ShowStillPicture(frmCover& cover, config::Movie& entry);

// Starts the still timer for the collection's still delay: the entry shown
// ends then, as a still picture does.
void StartStillTimer(frmCover& cover);

// The collection's still delay in milliseconds (a delay below a second is
// taken as the default and kept).
int StillDelayMs();

// Places the picture again, for a screen that changed size.
void PlaceStill(frmCover& cover, const config::Movie& entry);

}  // namespace show
