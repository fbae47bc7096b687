#include "platform/system/Drives.h"

#include <QFileInfo>
#include <QSet>
#include <utility>

#include "platform/system/MountTable.h"

namespace platform {

namespace {

bool Beneath(const QString& path, QLatin1String folder) { return path == folder || path.startsWith(folder + u'/'); }

DriveKind KindOf(const MountEntry& mount) {
    const auto device = BlockDeviceOf(mount);
    return ClassifyMount(mount.mountPoint, mount.fsType, device ? device->name : QString(),
                         device && device->removable);
}

}  // namespace

DriveKind ClassifyMount(const QString& mountPoint, const QString& fsType, const QString& blockDevice, bool removable) {
    static const QStringList network = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p",
                                        "glusterfs", "fuse.sshfs", "fuse.rclone", "fuse.glusterfs"};
    if (Beneath(mountPoint, QLatin1String("/proc")) || Beneath(mountPoint, QLatin1String("/sys"))) return kDriveUnknown;
    if (network.contains(fsType)) return kDriveRemote;
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs")) return kDriveRamDisk;
    if (fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf") || blockDevice.startsWith(QLatin1String("sr")))
        return kDriveCdRom;
    if (fsType == QLatin1String("squashfs") || fsType == QLatin1String("erofs")) return kDriveUnknown;
    if (!blockDevice.isEmpty()) return removable ? kDriveRemovable : kDriveFixed;
    // Disk file systems that report a device number of their own, and a container's root.
    if (fsType == QLatin1String("btrfs") || fsType == QLatin1String("zfs") || fsType == QLatin1String("overlay"))
        return kDriveFixed;
    return kDriveUnknown;
}

DriveKind DriveKindOf(const QString& path) {
    const auto mount = MountOf(path, ReadMountTable());
    return mount ? KindOf(*mount) : kDriveNoRoot;
}

QStringList DriveRoots() {
    QList<MountEntry> visible;
    for (const MountEntry& entry : ReadMountTable()) {
        visible.removeIf([&](const MountEntry& earlier) { return earlier.mountPoint == entry.mountPoint; });
        visible.append(entry);
    }
    QStringList roots;
    QSet<quint64> devices;
    for (const MountEntry& entry : std::as_const(visible)) {
        if (KindOf(entry) < kDriveRemovable) continue;
        if (entry.root != QLatin1String("/") && !QFileInfo(entry.mountPoint).isDir()) continue;
        const quint64 device = quint64(entry.major) << 32 | entry.minor;
        if (devices.contains(device)) continue;
        devices.insert(device);
        roots.append(entry.mountPoint);
    }
    return roots;
}

}  // namespace platform
