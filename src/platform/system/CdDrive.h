#pragma once
// The machine's CD drive and the audio tracks of the disc in it: what a
// collection's CD track entries ("TrackNN.cda") play. Reads the disc's table
// of contents only (no spinning up to play); GUI or any thread, no state
// but the test seam.

#include <QString>
#include <functional>
#include <optional>

namespace platform {

struct CdTracks {
    int first = 0, last = 0;  // the disc's first and last track numbers (1..99)
    bool Holds(int track) const { return track >= first && track <= last; }
};

// The drive: /dev/cdrom when it exists, else the first /dev/sr* in name
// order; empty without one.
QString CdDevice();

// The CD drive a path names: the drive's device itself (a link such as
// /dev/cdrom included) or the mount point of a disc in it; empty otherwise.
// Linux names every optical drive sr<n>.
QString CdDriveAt(const QString& path);

// The tracks of the disc in device (the CDROMREADTOCHDR request); nothing
// when it is no CD drive, holds no disc or cannot be read.
std::optional<CdTracks> ReadCdTracks(const QString& device);

// The tracks of the disc in the machine's drive: ReadCdTracks(CdDevice()),
// through the seam below.
std::optional<CdTracks> DiscTracks();

// The seam: tests make DiscTracks answer as a drive would (an empty
// function restores the machine's drive).
void SetDiscTracksForTesting(std::function<std::optional<CdTracks>()> reader);

}  // namespace platform
