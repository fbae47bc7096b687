#include "platform/system/MountTable.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <libmount/libmount.h>
#include <memory>
#include <sys/sysmacros.h>

namespace platform {

namespace {

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
using Table = std::unique_ptr<libmnt_table, TableDeleter>;

QString Text(const char* field) { return field ? QFile::decodeName(field) : QString(); }

// The entries libmount read, in the table's order.
QList<MountEntry> Entries(libmnt_table* table) {
    QList<MountEntry> entries;
    const std::unique_ptr<libmnt_iter, void (*)(libmnt_iter*)> at(mnt_new_iter(MNT_ITER_FORWARD), mnt_free_iter);
    libmnt_fs* fs = nullptr;
    while (at && mnt_table_next_fs(table, at.get(), &fs) == 0) {
        const dev_t device = mnt_fs_get_devno(fs);
        MountEntry entry;
        entry.major = major(device);
        entry.minor = minor(device);
        entry.root = Text(mnt_fs_get_root(fs));
        entry.mountPoint = Text(mnt_fs_get_target(fs));
        entry.fsType = Text(mnt_fs_get_fstype(fs));
        entry.source = Text(mnt_fs_get_source(fs));
        entries.append(entry);
    }
    return entries;
}

bool Holds(const QString& mountPoint, const QString& path) {
    return mountPoint == QLatin1String("/") || path == mountPoint || path.startsWith(mountPoint + u'/');
}

}  // namespace

QString DecodeEscapes(const QByteArray& raw, const QByteArray& introducer, int digits, int base) {
    const QByteArray digitSet = QByteArray("0123456789abcdef").left(base) + QByteArray("0123456789ABCDEF").left(base);
    QByteArray bytes;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QByteArray code = raw.mid(i + introducer.size(), digits);
        bool escape = raw.mid(i, introducer.size()) == introducer && code.size() == digits;
        for (const char digit : code) escape = escape && digitSet.contains(digit);
        const int value = escape ? code.toInt(nullptr, base) : 0;
        if (escape && value <= 0xFF) {
            bytes += static_cast<char>(value);
            i += introducer.size() + digits - 1;
        } else {
            bytes += raw[i];
        }
    }
    return QFile::decodeName(bytes);
}

QList<MountEntry> ParseMountInfo(const QByteArray& text) {
    const Table table(mnt_new_table());
    if (!table || text.isEmpty()) return {};
    const std::unique_ptr<FILE, int (*)(FILE*)> stream(
        fmemopen(const_cast<char*>(text.constData()), size_t(text.size()), "r"), fclose);
    if (!stream || mnt_table_parse_stream(table.get(), stream.get(), "mountinfo") != 0) return {};
    return Entries(table.get());
}

QList<MountEntry> ReadMountTable() {
    const Table table(mnt_new_table_from_file("/proc/self/mountinfo"));
    return table ? Entries(table.get()) : QList<MountEntry>();
}

std::optional<MountEntry> MountOf(const QString& path, const QList<MountEntry>& table) {
    // Text with a NUL names no file.
    const bool named = !path.isEmpty() && !path.contains(QChar(u'\0'));
    const QString canonical = named ? QFileInfo(path).canonicalFilePath() : QString();
    if (canonical.isEmpty()) return std::nullopt;
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : table) {
        if (Holds(entry.mountPoint, canonical) && (!best || entry.mountPoint.size() >= best->mountPoint.size()))
            best = &entry;
    }
    return best ? std::optional(*best) : std::nullopt;
}

std::optional<BlockDevice> BlockDeviceOf(const MountEntry& mount) {
    QString sysDir =
        QFileInfo(QStringLiteral("/sys/dev/block/%1:%2").arg(mount.major).arg(mount.minor)).canonicalFilePath();
    // btrfs and others report a device number of their own; their source names the device.
    if (sysDir.isEmpty() && mount.source.startsWith(QLatin1String("/dev/"))) {
        const QString node = QFileInfo(mount.source).canonicalFilePath();
        if (!node.isEmpty())
            sysDir = QFileInfo(QStringLiteral("/sys/class/block/") + QFileInfo(node).fileName()).canonicalFilePath();
    }
    if (sysDir.isEmpty()) return std::nullopt;
    // A partition's folder lies inside its disk's, which knows about the medium.
    const QString disk = QFile::exists(sysDir + QLatin1String("/partition")) ? QFileInfo(sysDir).path() : sysDir;
    QFile removable(disk + QLatin1String("/removable"));
    const bool isRemovable = removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1";
    return BlockDevice{QFileInfo(sysDir).fileName(), isRemovable};
}

}  // namespace platform
