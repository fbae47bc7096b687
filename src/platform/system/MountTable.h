#pragma once
// The mounted file systems as the kernel lists them (/proc/self/mountinfo),
// and the block device behind one. Linux has no drive letters: a "drive" is a
// mounted file system, and any path stands for the file system it lies on.

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
// ones); malformed lines are left out.
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
// Names in the kernel's and udev's lists write unsafe bytes as an escape:
// the introducer and then `digits` digits in `base` (mountinfo's "\040" is
// "\\", 3, 8; udev's "\x20" is "\\x", 2, 16). Anything else stays as it is.
QString DecodeEscapes(const QByteArray& raw, const QByteArray& introducer, int digits, int base);

// The block device a mount reads from, by its device number or else by a
// "/dev/..." source; nothing for file systems without one (tmpfs, nfs, overlay).
std::optional<BlockDevice> BlockDeviceOf(const MountEntry& mount);

}  // namespace platform
