#pragma once
// Which mounted file systems count as drives, and what kind each is, with
// the Windows drive-type numbers.

#include <QString>
#include <QStringList>

namespace platform {

enum DriveKind : int {
    kDriveUnknown = 0,    // not a drive: a kernel interface or a package image
    kDriveNoRoot = 1,     // the path does not exist
    kDriveRemovable = 2,  // the disk says its medium can be removed (USB sticks, card readers)
    kDriveFixed = 3,      // any other block device, and btrfs, zfs and overlay roots
    kDriveRemote = 4,     // a network file system (nfs, cifs, sshfs, ...)
    kDriveCdRom = 5,      // an optical drive (sr*) or a disc's file system (iso9660, udf)
    kDriveRamDisk = 6,    // tmpfs, ramfs
};

// The kind of a mount from its facts: blockDevice is the kernel's device
// name, empty when it has none. Mounts beneath /proc and /sys hold kernel
// interfaces and squashfs/erofs hold read-only package and system images
// (snaps, live systems): none of them is a drive.
DriveKind ClassifyMount(const QString& mountPoint, const QString& fsType, const QString& blockDevice, bool removable);

// The kind of the file system a path lies on (any path stands for it).
DriveKind DriveKindOf(const QString& path);

// One mount point per drive, in mount order: of mounts at the same point
// only the last (which hides the others) is seen; a file system mounted at
// several places counts once, at its first; a bind mount of a single file
// is no drive.
QStringList DriveRoots();

}  // namespace platform
