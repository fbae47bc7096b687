#pragma once
// Where an entry of the collection is: the rules that the loader, the show
// loop and the preview share.

#include <QString>

namespace config {

class Movie;

// True for a name that is an address rather than a file ("://" anywhere).
bool IsAddress(const QString& name);

// The track a CD track entry plays: a MovieName "TrackNN.cda" (any case;
// a drive or folder before it is ignored, as a collection made on Windows
// names the disc's drive, which Linux does not have), NN from 1 to 99.
// 0 for any other name.
int CdTrackNumber(const QString& movieName);

// The address a web page entry is shown at: Path followed by MovieName, or
// MovieName alone when the trimmed Path is empty or holds a NUL (the filling
// of a Path read short, which names no folder); trimmed.
QString WebAddress(const Movie& entry);

}  // namespace config
