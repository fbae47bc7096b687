#include "platform/system/CdDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/system/MountTable.h"

namespace platform {
namespace {

std::function<std::optional<CdTracks>()>& Reader() {
    static std::function<std::optional<CdTracks>()> reader;
    return reader;
}

}  // namespace

QString CdDevice() {
    if (QFileInfo::exists(QStringLiteral("/dev/cdrom"))) return QStringLiteral("/dev/cdrom");
    QDir dev(QStringLiteral("/dev"), QStringLiteral("sr*"), QDir::Name, QDir::System);
    const QStringList drives = dev.entryList();
    return drives.isEmpty() ? QString() : dev.filePath(drives.front());
}

QString CdDriveAt(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) return {};
    if (!info.isDir()) return canonical.startsWith(QLatin1String("/dev/sr")) ? canonical : QString();
    const std::optional<MountEntry> mount = MountOf(canonical, ReadMountTable());
    if (!mount || mount->mountPoint != canonical) return {};
    const std::optional<BlockDevice> device = BlockDeviceOf(*mount);
    return device && device->name.startsWith(QLatin1String("sr")) ? QStringLiteral("/dev/") + device->name : QString();
}

std::optional<CdTracks> ReadCdTracks(const QString& device) {
    if (device.isEmpty()) return std::nullopt;
    // O_NONBLOCK: a drive without a disc opens at once instead of waiting
    // for one, and its tray is not closed.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    cdrom_tochdr header{};
    const bool read = ::ioctl(fd, CDROMREADTOCHDR, &header) == 0;
    ::close(fd);
    if (!read || header.cdth_trk0 < 1 || header.cdth_trk1 < header.cdth_trk0) return std::nullopt;
    return CdTracks{header.cdth_trk0, header.cdth_trk1};
}

std::optional<CdTracks> DiscTracks() { return Reader() ? Reader()() : ReadCdTracks(CdDevice()); }

void SetDiscTracksForTesting(std::function<std::optional<CdTracks>()> reader) { Reader() = std::move(reader); }

}  // namespace platform
