#pragma once
// The mounted file systems as the kernel lists them (/proc/self/mountinfo),
// and the block device behind one. Linux has no drive letters: a "drive" is a
// mounted file system, and any path stands for the file system it lies on.
//
// util-linux's libmount reads the table (it is on every Linux system, as
// mount(8) uses it), rather than a parser of our own: it knows the optional
// fields and the escapes, and keeps up with the kernel's format. It gives the
// same entries as the parser it replaced, on the tests' lines and on this
// machine's table, in less time: 120-150 us a read of a 20-line table,
// against 210-280 us (a thousand ReadMountTable calls, timed). Qt's
// QStorageInfo was not taken: it gives no device numbers, which DriveRoots
// and BlockDeviceOf go by, and its mountedVolumes() leaves out what it
// deems pseudo file systems and calls statvfs on every mount, which may hang
// on a network mount that does not answer.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace platform {

struct MountEntry {
    quint32 major = 0, minor = 0;  // the file system's device number; major 0 has no block device
    QString root;                  // the part of the file system mounted: "/" for all of it
    QString mountPoint;            // where it is mounted, escapes decoded
    QString fsType;                // "ext4", "tmpfs", "nfs4", "fuse.sshfs", ...
    QString source;                // "/dev/sda1", "server:/export", "tmpfs", ...
};

// The entries of mountinfo text in its order (later mounts after earlier
// ones); malformed lines after the first are left out (libmount takes the
// format from the first line, which in the kernel's table is always a mount).
QList<MountEntry> ParseMountInfo(const QByteArray& text);
// The process's mount table; empty when /proc is not mounted.
QList<MountEntry> ReadMountTable();

// The mount a path lies on: the one with the longest mount point that holds
// the path's canonical form, the later of two at the same point (it hides the
// earlier). Nothing for a path that does not exist or holds a NUL.
std::optional<MountEntry> MountOf(const QString& path, const QList<MountEntry>& table);

struct BlockDevice {
    QString name;            // the kernel's name: "sda1", "nvme0n1p2", "sr0", "dm-0"
    bool removable = false;  // the disk (for a partition: its disk) says its medium can be removed
};
// Names in udev's lists write unsafe bytes as an escape: the introducer and
// then `digits` digits in `base` (udev's "\x20" is "\\x", 2, 16). Anything
// else stays as it is.
QString DecodeEscapes(const QByteArray& raw, const QByteArray& introducer, int digits, int base);

// The block device a mount reads from, by its device number or else by a
// "/dev/..." source; nothing for file systems without one (tmpfs, nfs, overlay).
std::optional<BlockDevice> BlockDeviceOf(const MountEntry& mount);

}  // namespace platform
