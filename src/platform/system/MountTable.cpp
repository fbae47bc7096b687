#include "platform/system/MountTable.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

QString Unescape(const QByteArray& field) { return DecodeEscapes(field, "\\", 3, 8); }

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
    QList<MountEntry> table;
    for (const QByteArray& line : text.split('\n')) {
        // id, parent, major:minor, root, mount point, options, optional
        // fields up to "-", then type, source and the file system's options.
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"), 6);
        if (dash < 0 || dash + 2 >= fields.size()) continue;
        const QList<QByteArray> device = fields[2].split(':');
        bool majorOk = false, minorOk = false;
        MountEntry entry;
        if (device.size() == 2) {
            entry.major = device[0].toUInt(&majorOk);
            entry.minor = device[1].toUInt(&minorOk);
        }
        if (!majorOk || !minorOk) continue;
        entry.root = Unescape(fields[3]);
        entry.mountPoint = Unescape(fields[4]);
        entry.fsType = Unescape(fields[dash + 1]);
        entry.source = Unescape(fields[dash + 2]);
        table.append(entry);
    }
    return table;
}

QList<MountEntry> ReadMountTable() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    // A proc file reports size 0: read it to its end, not by its size.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    return ParseMountInfo(file.readAll());
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
