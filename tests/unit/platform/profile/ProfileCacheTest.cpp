// Reads come from a cache that must notice every change made behind its
// back, including ones that leave the file's size as it was.

#include <gtest/gtest.h>

#include <QFile>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>

#include "ProfileProbe.h"
#include "support/TestSupport.h"

namespace {

using profiletest::ReadReturned;

const QByteArray kOld = "[S]\r\nk=old\r\n";
const QByteArray kNew = "[S]\r\nk=new\r\n";  // same size on purpose

struct timespec StatTimes(const QString& path, bool changeTime) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return changeTime ? st.st_ctim : st.st_mtim;
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// File times have the resolution of the kernel's clock tick. Waiting until
// the tick has moved past them makes the cached copy trusted on its stat
// data alone, so the stat comparison itself is what the test exercises.
void WaitForNextTick(const QString& path) {
    for (;;) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (Before(StatTimes(path, false), now) && Before(StatTimes(path, true), now)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The cache compares stat data once per tick of the coarse clock; a change
// is seen from the next tick on.
void WaitForClockTick() {
    timespec start{}, now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &start);
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    } while (now.tv_sec == start.tv_sec && now.tv_nsec == start.tv_nsec);
}

void ReplaceByRename(const QString& path, const QByteArray& bytes) {
    testsupport::WriteBytes(path + ".tmp", bytes);
    ASSERT_TRUE(::rename(QFile::encodeName(path + ".tmp").constData(), QFile::encodeName(path).constData()) == 0);
}

void RewriteKeepingMtime(const QString& path, const QByteArray& bytes) {
    const timespec mtime = StatTimes(path, false);
    testsupport::WriteBytes(path, bytes);
    const timespec times[2] = {mtime, mtime};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

struct CacheCase {
    const char* name;
    bool settleFirst;  // let the cached copy become trusted before the change
    std::function<void(const QString& path)> change;
    QString expected;
};

class ProfileCacheInvalidation : public testing::TestWithParam<CacheCase> {};

TEST_P(ProfileCacheInvalidation, SeesChangesByOthers) {
    const CacheCase& c = GetParam();
    testsupport::TempFolder folder;
    const QString path = folder.file("cache.ini");
    testsupport::WriteBytes(path, kOld);
    if (c.settleFirst) WaitForNextTick(path);
    ASSERT_EQ(ReadReturned(QString("S"), QString("k"), "d", path), QString("old") + QChar(0));
    c.change(path);
    WaitForClockTick();
    EXPECT_EQ(ReadReturned(QString("S"), QString("k"), "d", path), c.expected + QChar(0));
}

const CacheCase kCacheCases[] = {
    {"SameSizeRewriteInPlace", true, [](const QString& p) { testsupport::WriteBytes(p, kNew); }, "new"},
    {"SameSizeRewriteWithinTheSameMoment", false, [](const QString& p) { testsupport::WriteBytes(p, kNew); },
     "new"},
    {"RewriteWithMtimeRestored", true, [](const QString& p) { RewriteKeepingMtime(p, kNew); }, "new"},
    {"ReplacedByRename", true, [](const QString& p) { ReplaceByRename(p, kNew); }, "new"},
    {"Deleted", true, [](const QString& p) { QFile::remove(p); }, "d"},
    {"DeletedAndRecreated", false,
     [](const QString& p) {
         QFile::remove(p);
         testsupport::WriteBytes(p, kNew);
     },
     "new"},
    {"OwnWriteThenForeignRewrite", false,
     [](const QString& p) {
         platform::profile::WritePrivateProfileString(u"S", u"k", u"our", p);
         testsupport::WriteBytes(p, kNew);
     },
     "new"},
    {"OwnWriteSeenAtOnce", true,
     [](const QString& p) { platform::profile::WritePrivateProfileString(u"S", u"k", u"our", p); }, "our"},
};

INSTANTIATE_TEST_SUITE_P(Changes, ProfileCacheInvalidation, testing::ValuesIn(kCacheCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
