#include "sysinfo/SysInfo.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <tuple>

#include "support/TestSupport.h"

using namespace sysinfo;

namespace {

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

// Linux counts as a protected system unless the user chooses otherwise.
TEST(SysInfoTest, PlatformChosenThroughTheEnvironment) {
    testsupport::ScopedEnv env;
    const struct { const char* value; QString platform; } rows[] = {
        {nullptr, "Windows NT"}, {"95", "Windows 95"}, {"98", "Windows 98"}, {" nt ", "Windows NT"}, {"2000", "Windows NT"}, {"", "Windows NT"}};
    for (const auto& row : rows) {
        env.Set("ZORSCR_PLATFORM", row.value ? QByteArray(row.value) : QByteArray());
        EXPECT_EQ(SysInfo().Platform(), row.platform) << (row.value ? row.value : "unset");
    }
}

}  // namespace
