#include "platform/system/Volume.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>
#include <sys/statvfs.h>

#include "platform/system/MountTable.h"

namespace platform {

namespace {

bool StatVfs(const QString& path, struct statvfs& st) {
    return !path.isEmpty() && !path.contains(QChar(u'\0')) &&
           ::statvfs(QFile::encodeName(path).constData(), &st) == 0;
}

// The name of the link in /dev/disk/<kind> that points at the block device
// the path's file system reads from; empty when there is none.
QString UdevLinkName(const QString& kind, const QString& path) {
    const auto mount = MountOf(path, ReadMountTable());
    const auto device = mount ? BlockDeviceOf(*mount) : std::nullopt;
    if (!device) return {};
    const QDir folder(QStringLiteral("/dev/disk/") + kind);
    for (const QFileInfo& link : folder.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(link.canonicalFilePath()).fileName() == device->name) return link.fileName();
    }
    return {};
}

}  // namespace

std::optional<DiskFreeSpace> ReadDiskFreeSpace(const QString& path) {
    struct statvfs st {};
    if (!StatVfs(path, st)) return std::nullopt;
    const quint64 fragment = st.f_frsize ? st.f_frsize : st.f_bsize;
    DiskFreeSpace space;
    space.bytesPerSector = fragment % 512 == 0 ? 512 : static_cast<quint32>(fragment);
    space.sectorsPerCluster = static_cast<quint32>(fragment / space.bytesPerSector);
    quint64 total = st.f_blocks, free = st.f_bavail;
    while (total > std::numeric_limits<quint32>::max()) {
        total /= 2;
        free /= 2;
        space.sectorsPerCluster *= 2;
    }
    space.totalClusters = static_cast<quint32>(total);
    space.freeClusters = static_cast<quint32>(free);
    return space;
}

std::optional<quint32> VolumeSerialNumber(const QString& path) {
    struct statvfs st {};
    if (!StatVfs(path, st)) return std::nullopt;
    const QString uuid = UdevLinkName(QStringLiteral("by-uuid"), path).remove(u'-');
    bool hex = false;
    const quint32 serial = uuid.right(8).toUInt(&hex, 16);
    if (uuid.size() >= 8 && hex) return serial;
    return static_cast<quint32>(st.f_fsid);
}

std::optional<QString> VolumeLabel(const QString& path) {
    struct statvfs st {};
    if (!StatVfs(path, st)) return std::nullopt;
    return DecodeEscapes(QFile::encodeName(UdevLinkName(QStringLiteral("by-label"), path)), "\\x", 2, 16);
}

}  // namespace platform
