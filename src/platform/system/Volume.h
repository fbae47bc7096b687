#pragma once
// Facts of the file system a path lies on, in the shape of the Windows
// volume calls. Any existing path stands for its file system.

#include <QString>
#include <optional>

namespace platform {

// Space as the Windows call counts it. A cluster is the file system's
// fragment size (statvfs f_frsize), made of 512-byte sectors (of one sector
// of that size when it is no multiple of 512); on a file system of more than
// 2^32 fragments a cluster is 2, 4, ... fragments so that the counts fit.
// Free clusters are those the calling user may fill (f_bavail).
struct DiskFreeSpace {
    quint32 sectorsPerCluster = 0;
    quint32 bytesPerSector = 0;
    quint32 freeClusters = 0;
    quint32 totalClusters = 0;
};
std::optional<DiskFreeSpace> ReadDiskFreeSpace(const QString& path);

// The 32-bit volume serial number: the last eight hexadecimal digits of the
// file system's UUID as udev lists it (/dev/disk/by-uuid; for FAT that is
// its serial number itself, for NTFS the low half of its 64-bit one); else
// the low 32 bits of statvfs's f_fsid. Nothing when the path does not exist.
std::optional<quint32> VolumeSerialNumber(const QString& path);

// The file system's label as udev lists it (/dev/disk/by-label), empty when
// it has none; nothing when the path does not exist.
std::optional<QString> VolumeLabel(const QString& path);

}  // namespace platform
