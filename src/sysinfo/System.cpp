#include "sysinfo/System.h"

#include <algorithm>
#include <limits>

#include "config/ModString.h"
#include "platform/system/Drives.h"
#include "platform/system/MachineFacts.h"
#include "platform/system/OsVersion.h"
#include "platform/system/Volume.h"
#include "platform/vb/VbString.h"
#include "state/RunState.h"

using namespace state;
using namespace config;

namespace sysinfo {

namespace {

constexpr qsizetype kBufferSize = 50;

double Kilobytes(const platform::DiskFreeSpace& space, quint32 clusters) {
    const double bytesPerCluster = double(space.sectorsPerCluster) * space.bytesPerSector;
    return bytesPerCluster * (clusters / 1024.0);
}

// A 32-bit Long holds the value, or its largest value when it cannot.
qint32 ToLong(quint64 value) {
    return static_cast<qint32>(std::min<quint64>(value, std::numeric_limits<qint32>::max()));
}

qint32 RoundedKilobytes(quint64 bytes) { return ToLong((bytes + 512) / 1024); }

}  // namespace

QString TextFromBuffer(const QString& written) {
    if (written.size() >= kBufferSize) return {};
    // The call ends its text with a NUL; the rest of the buffer keeps its spaces.
    const QString buffer = written + QChar(u'\0') + QString(kBufferSize - written.size() - 1, u' ');
    return CutAtNul(vb::RTrim(buffer));
}

QString FolderText(const QString& written) {
    const QString text = TextFromBuffer(written);
    return text.isEmpty() || text.endsWith(u'/') ? text : text + u'/';
}

QString SerialText(quint32 serial) {
    const QString digits = QStringLiteral("%1").arg(serial, 8, 16, QChar(u'0')).toUpper();
    return digits.left(4) + u'-' + digits.mid(4);
}

QString WinVerName(qint32 platformId, qint32 major, qint32 minor) {
    switch (platformId) {
        case 0: return QStringLiteral("Windows %1.%2").arg(major).arg(minor);
        case 1: return QStringLiteral("Windows 95");
        case 2: return QStringLiteral("Windows NT");
        default: return {};
    }
}

void System::DriveInfo(const QString& root) const {
    const auto space = platform::ReadDiskFreeSpace(root);
    gDriveTotalKB = space ? Kilobytes(*space, space->totalClusters) : 0;
    gDriveFreeKB = space ? Kilobytes(*space, space->freeClusters) : 0;
}

void System::Drives(qint16& intRemovable, qint16& intNotRemovable, qint16& intCD, qint16& intRAM,
                    qint16& intNetwork) const {
    for (const QString& root : platform::DriveRoots()) {
        switch (platform::DriveKindOf(root)) {
            case platform::kDriveRemovable: ++intRemovable; break;
            case platform::kDriveFixed: ++intNotRemovable; break;
            case platform::kDriveCdRom: ++intCD; break;
            case platform::kDriveRamDisk: ++intRAM; break;
            case platform::kDriveRemote: ++intNetwork; break;
            default: break;
        }
    }
}

QString System::DriveType(const QString& strRoot) const {
    switch (platform::DriveKindOf(strRoot)) {
        case platform::kDriveRemovable: return QStringLiteral("Removable drive");
        case platform::kDriveFixed: return QStringLiteral("Fixed drive");
        case platform::kDriveRemote: return QStringLiteral("Network drive");
        case platform::kDriveCdRom: return QStringLiteral("CD-ROM drive");
        case platform::kDriveRamDisk: return QStringLiteral("RAM-disk");
        default: return {};
    }
}

QString System::PutPoints(qint32 number) const {
    QString digits = QString::number(qAbs(qint64(number)));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u'.');
    return number < 0 ? u'-' + digits : digits;
}

qint32 System::FastDiskSpace(const QString& drive) const {
    const auto space = platform::ReadDiskFreeSpace(drive);
    return space ? ToLong(static_cast<quint64>(Kilobytes(*space, space->freeClusters))) : 0;
}

void System::FreeMemory(quint8& load, qint32& totalKB, qint32& availableKB) const {
    const platform::MemoryStatus status = platform::ReadMemoryStatus();
    load = static_cast<quint8>(status.loadPercent);
    totalKB = RoundedKilobytes(status.totalBytes);
    availableKB = RoundedKilobytes(status.availableBytes);
}

quint8 System::FunctionKeys() const { return static_cast<quint8>(platform::KeyboardTypeInfo(2)); }

QString System::KeyboardType() const {
    static const char* const names[] = {"IBM PC/XT or compatible (83 key)",
                                        "Olivetti \"ico\" (102 key)",
                                        "IBM PC/AT or compatible (84 key)",
                                        "IBM enhanced (101 or 102 key)",
                                        "Nokia 1050 or compatible",
                                        "Nokia 9140 or compatible",
                                        "Japanese"};
    const int type = platform::KeyboardTypeInfo(0);
    return type >= 1 && type <= 7 ? QString::fromLatin1(names[type - 1]) : QString();
}

void System::SystemInfo(QString& strProcessor, qint32& lngNumOfProcessors, qint32& lngActiveProcessor) const {
    const platform::ProcessorInfo info = platform::ReadProcessorInfo();
    lngNumOfProcessors = static_cast<qint32>(info.numberOfProcessors);
    lngActiveProcessor = static_cast<qint32>(info.activeProcessorMask);
    if (info.processorType == platform::kProcessor386) strProcessor = QStringLiteral("80386");
    if (info.processorType == platform::kProcessor486) strProcessor = QStringLiteral("80486");
    if (info.processorType == platform::kProcessorPentium) strProcessor = QStringLiteral("Intel Pentium");
}

QString System::TempDir() const { return sysinfo::FolderText(platform::TempPath()); }
QString System::SystemDir() const { return sysinfo::FolderText(platform::SystemDirectory()); }
QString System::WinDir() const { return sysinfo::FolderText(platform::WindowsDirectory()); }
QString System::ComputerName() const { return sysinfo::TextFromBuffer(platform::ComputerName()); }
QString System::UserName() const { return sysinfo::TextFromBuffer(platform::UserName()); }

QString System::SerialNumber(const QString& strRoot) const {
    return sysinfo::SerialText(platform::VolumeSerialNumber(strRoot).value_or(0));
}

QString System::VolumeLabel(const QString& strRoot) const {
    const auto label = platform::VolumeLabel(strRoot);
    if (!label) return {};
    const QString text = CutAtNul(*label);
    return text.isEmpty() ? QStringLiteral("Not Labeled") : text;
}

QString System::WinVer(qint16& major, qint16& minor) const {
    const platform::OsVersionRecord record = platform::ReadOsVersion();
    major = static_cast<qint16>(record.majorVersion);
    minor = static_cast<qint16>(record.minorVersion);
    return sysinfo::WinVerName(record.platformId, record.majorVersion, record.minorVersion);
}

}  // namespace sysinfo
