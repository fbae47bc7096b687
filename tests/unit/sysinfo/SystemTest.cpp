#include "sysinfo/System.h"
#include "sysinfo/SysInfo.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <tuple>

#include "platform/system/Drives.h"
#include "platform/system/MountTable.h"
#include "platform/system/Volume.h"
#include "state/RunState.h"
#include "support/TestSupport.h"

using namespace state;
using namespace sysinfo;

namespace {

TEST(SystemTest, TextRules) {
    const QString longest(49, u'x');
    const std::pair<QString, QString> buffers[] = {
        {"vm", "vm"}, {QString::fromLatin1("ab \0cd", 6), "ab "}, {longest, longest}, {longest + u'x', ""}};
    for (const auto& [written, text] : buffers) EXPECT_EQ(sysinfo::TextFromBuffer(written), text) << written.size();

    const std::pair<QString, QString> folders[] = {{"/tmp", "/tmp/"}, {"/usr/", "/usr/"}, {"/", "/"}, {"", ""}};
    for (const auto& [written, text] : folders) EXPECT_EQ(sysinfo::FolderText(written), text);

    EXPECT_EQ(QStringList({sysinfo::SerialText(0), sysinfo::SerialText(0x1234AB), sysinfo::SerialText(0xABCDEF01)}),
              QStringList({"0000-0000", "0012-34AB", "ABCD-EF01"}));
    EXPECT_EQ(QStringList({sysinfo::WinVerName(0, 3, 10), sysinfo::WinVerName(1, 4, 10), sysinfo::WinVerName(2, 6, 1),
                           sysinfo::WinVerName(3, 1, 0)}),
              QStringList({"Windows 3.10", "Windows 95", "Windows NT", ""}));
}

TEST(SystemTest, DriveKinds) {
    using namespace platform;
    const struct { const char *mountPoint, *fsType, *device; bool removable; DriveKind kind; } rows[] = {
        {"/", "ext4", "nvme0n1p2", false, kDriveFixed},
        {"/media/ann/STICK", "vfat", "sdb1", true, kDriveRemovable},
        {"/media/ann/DISC", "iso9660", "sr0", true, kDriveCdRom},
        {"/media/ann/BD", "ext4", "sr1", true, kDriveCdRom},
        {"/mnt/share", "nfs4", "", false, kDriveRemote},
        {"/tmp", "tmpfs", "", false, kDriveRamDisk},
        {"/sys/fs/cgroup", "tmpfs", "", false, kDriveUnknown},
        {"/proc", "proc", "", false, kDriveUnknown},
        {"/snap/core/1", "squashfs", "loop3", false, kDriveUnknown},
        {"/", "overlay", "", false, kDriveFixed},
        {"/home", "btrfs", "", false, kDriveFixed},
        {"/dev/pts", "devpts", "", false, kDriveUnknown},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ClassifyMount(row.mountPoint, row.fsType, row.device, row.removable), row.kind) << row.mountPoint;
}

TEST(SystemTest, MountInfoLines) {
    const auto table = platform::ParseMountInfo(
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "not a mount line\n"
        "40 27 0:41 /data /mnt/My\\040Disk rw master:2 shared:5 - nfs4 srv:/x\\134y rw\n"
        "41 27 x:1 / /mnt rw - ext4 /dev/sdb rw\n");
    ASSERT_EQ(table.size(), 2);
    const auto& share = table[1];
    EXPECT_EQ(QStringList({share.root, share.mountPoint, share.fsType, share.source}),
              QStringList({"/data", "/mnt/My Disk", "nfs4", "srv:/x\\y"}));
    EXPECT_EQ(std::pair(share.major, share.minor), std::pair(0u, 41u));
    EXPECT_EQ(platform::DecodeEscapes("My\\x20Stick\\x2", "\\x", 2, 16), "My Stick\\x2");  // udev's label links
    // A path beneath no other mount point lies on the root.
    EXPECT_EQ(platform::MountOf("/proc/self", table).value().mountPoint, "/");
}

// Paths that name no drive, a folder that has a volume, and counters that are added to.
TEST(SystemTest, FactsOfThisMachine) {
    const System system;
    for (const QString& missing : {QStringLiteral("/no/such/drive"), QString(), QString::fromLatin1("/\0tmp", 5)}) {
        gDriveTotalKB = gDriveFreeKB = 1;
        system.DriveInfo(missing);
        EXPECT_EQ(std::pair(gDriveTotalKB, gDriveFreeKB), std::pair(0.0, 0.0));
        EXPECT_EQ(QStringList({system.DriveType(missing), system.SerialNumber(missing), system.VolumeLabel(missing)}),
                  QStringList({"", "0000-0000", ""}));
        EXPECT_EQ(system.FastDiskSpace(missing), 0);
        EXPECT_EQ(platform::VolumeSerialNumber(missing), std::nullopt);
    }
    EXPECT_TRUE(platform::VolumeSerialNumber(testsupport::TempFolder().path()).has_value());

    qint16 counters[5] = {10, 10, 10, 10, 10};
    system.Drives(counters[0], counters[1], counters[2], counters[3], counters[4]);
    int counted = 0;
    for (const qint16 counter : counters) counted += counter - 10;
    EXPECT_EQ(counted, platform::DriveRoots().size());
    EXPECT_FALSE(system.DriveType("/").isEmpty());  // whatever the root is: a disk, an overlay, a RAM-disk
    EXPECT_GT(system.FastDiskSpace("/"), 0);

    quint8 load = 0;
    qint32 totalKB = 0, availableKB = 0;
    system.FreeMemory(load, totalKB, availableKB);  // what programs can get, not merely the free pages
    const auto meminfo = QRegularExpression("MemAvailable: +(\\d+)").match(testsupport::ReadText("/proc/meminfo"));
    EXPECT_NEAR(availableKB, meminfo.captured(1).toDouble(), availableKB * 0.05);
}

TEST(SysInfoTest, PlatformRules) {
    const struct { platform::OsVersionRecord record; QString version, csd; bool nt, w95, w98; } rows[] = {
        {{4, 10, 67766222, 1, QStringLiteral(" A ")}, "Windows 98 v4.10, Build 1998", "A", false, false, true},
        {{4, 0, 950, 1, QString()}, "Windows 95 v4.0, Build 950", "", false, true, false},
        {{5, 1, 0xFFFF, 2, QString::fromLatin1("SP6\0x", 5)}, "Windows NT v5.1, Build -1", "SP6", true, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version.toStdString());
        const SysInfo info(row.record);
        EXPECT_EQ(QStringList({info.Version(), info.CSDVersion()}), QStringList({row.version, row.csd}));
        EXPECT_EQ(std::tuple(info.IsWinNT(), info.IsWin95(), info.IsWin98()), std::tuple(row.nt, row.w95, row.w98));
    }
}

}  // namespace
