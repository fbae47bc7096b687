// The file system around a profile: folders and files that cannot be
// written, links, special files and failures halfway through a write.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProfileProbe.h"
#include "support/TestSupport.h"

namespace {

using profiletest::ReadReturned;

const QByteArray kContent = "[S]\r\nk=old\r\n";

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

void Chmod(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// Makes writes past limit bytes fail with EFBIG, the way a full disk makes
// them fail with ENOSPC, for as long as the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = std::min(limit, saved_.rlim_max);
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

struct FileCase {
    const char* name;
    // Prepares the folder and returns the path to use.
    std::function<QString(const QString& folder)> setup;
    QString value;  // written to [S] k
    bool succeeds;
    QString readBack;  // [S] k afterwards, default "d"
    // Further checks after the write; the folder must hold exactly these names.
    QStringList folderAfter;
    std::function<void(const QString& path)> check = [](const QString&) {};
    rlim_t writeLimit = RLIM_INFINITY;  // bytes a file may grow to during the write
};

class ProfileFile : public testing::TestWithParam<FileCase> {};

TEST_P(ProfileFile, WritesOnlyWhereAllowed) {
    const FileCase& c = GetParam();
    testsupport::TempFolder folder;
    const QString path = c.setup(folder.path());
    {
        const FileSizeLimit limit(c.writeLimit);
        EXPECT_EQ(platform::profile::WritePrivateProfileString(u"S", u"k", QStringView(c.value), path),
                  c.succeeds);
    }
    EXPECT_EQ(ReadReturned(QString("S"), QString("k"), "d", path), c.readBack + QChar(0));
    // Hidden temporary files must not be left behind.
    Chmod(folder.path(), 0700);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              c.folderAfter);
    c.check(path);
}

QString Plain(const QString& folder) {
    const QString path = folder + "/p.ini";
    testsupport::WriteBytes(path, kContent);
    return path;
}

const FileCase kFileCases[] = {
    {"MissingFolderFailsAndCreatesNothing", [](const QString& f) { return f + "/none/p.ini"; }, "new",
     false, "d", {}},
    {"ReadOnlyFileFailsUnchanged",
     [](const QString& f) {
         const QString path = Plain(f);
         Chmod(path, 0444);
         return path;
     },
     "new", false, "old", {"p.ini"},
     [](const QString& path) { EXPECT_EQ(testsupport::ReadBytes(path), kContent); }},
    {"ReadOnlyFolderFailsUnchanged",
     [](const QString& f) {
         const QString path = Plain(f);
         Chmod(f, 0500);
         return path;
     },
     "new", false, "old", {"p.ini"},
     [](const QString& path) { EXPECT_EQ(testsupport::ReadBytes(path), kContent); }},
    {"FailedWriteLeavesOriginal",
     [](const QString& f) { return Plain(f); }, QString(4096, u'x'), false, "old", {"p.ini"},
     [](const QString& path) { EXPECT_EQ(testsupport::ReadBytes(path), kContent); }, 1024},
    {"PermissionBitsKept",
     [](const QString& f) {
         const QString path = Plain(f);
         Chmod(path, 0640);
         return path;
     },
     "new", true, "new", {"p.ini"}, [](const QString& path) { EXPECT_EQ(ModeOf(path) & 07777, 0640u); }},
    {"LinkTargetWrittenLinkKept",
     [](const QString& f) {
         QDir(f).mkdir("real");
         testsupport::WriteBytes(f + "/real/t.ini", kContent);
         EXPECT_TRUE(QFile::link("real/t.ini", f + "/link.ini"));
         return f + "/link.ini";
     },
     "new", true, "new", {"link.ini", "real"},
     [](const QString& path) {
         EXPECT_TRUE(QFileInfo(path).isSymLink());
         EXPECT_EQ(testsupport::ReadBytes(path), "[S]\r\nk=new\r\n");
     }},
    {"DanglingLinkCreatesTarget",
     [](const QString& f) {
         EXPECT_TRUE(QFile::link("t.ini", f + "/link.ini"));
         return f + "/link.ini";
     },
     "new", true, "new", {"link.ini", "t.ini"}},
    {"OversizeFileUnreadableAndKept",
     [](const QString& f) {
         const QString path = Plain(f);
         EXPECT_EQ(::truncate(QFile::encodeName(path).constData(), 100 << 20), 0);  // sparse
         return path;
     },
     "new", false, "d", {"p.ini"},
     [](const QString& path) { EXPECT_EQ(QFileInfo(path).size(), 100 << 20); }},
    {"FifoNeitherReadNorWritten",
     [](const QString& f) {
         EXPECT_EQ(::mkfifo(QFile::encodeName(f + "/p.ini").constData(), 0600), 0);
         return f + "/p.ini";
     },
     "new", false, "d", {"p.ini"}},
    {"FolderInPlaceOfFile",
     [](const QString& f) {
         QDir(f).mkdir("p.ini");
         return f + "/p.ini";
     },
     "new", false, "d", {"p.ini"}},
};

INSTANTIATE_TEST_SUITE_P(Situations, ProfileFile, testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
