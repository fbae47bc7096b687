#include <gtest/gtest.h>

#include "support/QtPrinters.h"
#include "sysinfo/SysInfo.h"

namespace {

TEST(SysInfoTest, PlatformRules) {
    struct Case {
        platform::OsVersionRecord record;
        QString platform, version, csd;
        bool nt, w95, w98;
    };
    const Case cases[] = {
        {{4, 10, 67766222, 1, QStringLiteral(" A ")}, "Windows 98", "Windows 98 v4.10, Build 1998", "A", false, false, true},
        {{4, 0, 950, 1, QString()}, "Windows 95", "Windows 95 v4.0, Build 950", "", false, true, false},
        {{4, 0, 1381, 2, QStringLiteral("Service Pack 6")}, "Windows NT", "Windows NT v4.0, Build 1381", "Service Pack 6",
         true, false, false},
        {{0, 0, 0, 0, QString(QChar(u'\0')) + QStringLiteral("junk")}, "Windows NT", "Windows NT v0.0, Build 0", "", false, false, false},
        {{5, 0, 0xFFFF, 2, QString()}, "Windows NT", "Windows NT v5.0, Build -1", "", true, false, false},
    };
    for (const Case& c : cases) {
        const SysInfo info(c.record);
        EXPECT_EQ(info.Platform(), c.platform);
        EXPECT_EQ(info.Version(), c.version);
        EXPECT_EQ(info.CSDVersion(), c.csd);
        EXPECT_EQ(info.IsWinNT(), c.nt);
        EXPECT_EQ(info.IsWin95(), c.w95);
        EXPECT_EQ(info.IsWin98(), c.w98);
    }
}

TEST(SysInfoTest, LinuxIsAProtectedSystem) {
    const SysInfo info;
    EXPECT_EQ(info.PlatformID(), 2);
    EXPECT_EQ(info.Platform(), u"Windows NT");
}

}  // namespace
