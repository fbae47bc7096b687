#pragma once
// A still picture on the show window: scaled to the screen with the entry's
// proportions, and ended by the still timer after the still delay.

class Movie;
class frmCover;

void ShowStillPicture(frmCover& cover, Movie& entry);

// Places the picture again, for a screen that changed size.
void PlaceStill(frmCover& cover, const Movie& entry);
