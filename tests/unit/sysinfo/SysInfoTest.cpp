#include "sysinfo/SysInfo.h"

#include <gtest/gtest.h>

#include "support/QtPrinters.h"

namespace {

TEST(SysInfoTest, PlatformRules) {
    const struct { platform::OsVersionRecord record; QString version, csd; bool nt, w95, w98; } rows[] = {
        {{4, 10, 67766222, 1, QStringLiteral(" A ")}, "Windows 98 v4.10, Build 1998", "A", false, false, true},
        {{4, 0, 950, 1, QString()}, "Windows 95 v4.0, Build 950", "", false, true, false},
        {{5, 1, 0xFFFF, 2, QString::fromLatin1("SP6\0x", 5)}, "Windows NT v5.1, Build -1", "SP6", true, false, false},
        {{0, 0, 0, 0, QString()}, "Windows NT v0.0, Build 0", "", false, false, false},  // neither family
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version.toStdString());
        const SysInfo info(row.record);
        EXPECT_EQ(info.Version(), row.version);
        EXPECT_EQ(info.Platform(), row.version.section(QStringLiteral(" v"), 0, 0));
        EXPECT_EQ(info.CSDVersion(), row.csd);
        EXPECT_EQ(info.IsWinNT(), row.nt);
        EXPECT_EQ(info.IsWin95(), row.w95);
        EXPECT_EQ(info.IsWin98(), row.w98);
    }
}

TEST(SysInfoTest, LinuxIsAProtectedSystem) {
    const SysInfo info;
    EXPECT_EQ(info.PlatformID(), 2);
    EXPECT_EQ(info.Platform(), u"Windows NT");
}

}  // namespace
