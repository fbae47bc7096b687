#pragma once
// Which sources the player opens, and how long each may take to show
// something. A source is a file name or an address ("scheme://...");
// "file://" addresses are local files.

#include <QString>
#include <chrono>

namespace platform::media {

// Why the player must not open the source, or empty when it may: only files
// and the ordinary network and disc schemes are opened, and of local files
// only regular ones (a symbolic link to one counts). A FIFO would block the
// player in open(2) until a writer comes, a device such as /dev/zero reads
// without end, a folder becomes a playlist. A local file that does not exist
// is left to the player, which gives its own reason. Never opens the file.
QString RefusedSource(const QString& source);

// The source of track (1..99) of the disc in the machine's CD drive, and
// back: the track a source names, 0 for any other source. The engine plays
// it from the drive (platform/system/CdDrive).
QString CdTrackSource(int track);
int CdTrackOfSource(const QString& source);

// How long a source may take from being opened until its first picture
// (or, without one, its sound) is ready; after that it counts as a source
// that cannot be opened. Longer for network addresses, whose server may be
// slow to answer, than for local files.
std::chrono::milliseconds OpeningBound(const QString& source);

}  // namespace platform::media
