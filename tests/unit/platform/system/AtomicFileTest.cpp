// The lock writers of one file share, and what a writer removes beside the file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <optional>

#include "platform/system/AtomicFile.h"
#include "support/TestSupport.h"

namespace {

using platform::FolderLock;

// Only regular files of exactly the temporary naming of this file go; near
// misses are a user's files and stay.
TEST(AtomicFileTest, RemovesOnlyLeftoverTemporariesOfTheFile) {
    testsupport::TempFolder folder;
    const QStringList removed = {".p.ini.zortmp-Ab12Cd", ".p.ini.zortmp-000000"};
    const QStringList kept = {".p.ini.zortmp-Ab12C", ".p.ini.zortmp-Ab12Cde", ".p.ini.zortmp-Ab_2Cd",
                              ".p.ini.Ab12Cd",       ".q.ini.zortmp-Ab12Cd",  "p.ini.zortmp-Ab12Cd",
                              ".p.ini.zortmp-Link00"};
    for (const QString& name : removed + kept.mid(0, kept.size() - 1)) testsupport::WriteBytes(folder.file(name), "x");
    ASSERT_TRUE(QFile::link("p.ini", folder.file(kept.back())));
    ASSERT_TRUE(QDir(folder.path()).mkdir(".p.ini.zortmp-Dir000"));

    EXPECT_TRUE(platform::ReplaceFileContent(QFile::encodeName(folder.file("p.ini")), "new"));
    QStringList expected = kept + QStringList{".p.ini.zortmp-Dir000", "p.ini"};
    QStringList found = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    expected.sort();
    found.sort();
    EXPECT_EQ(found, expected);
}

// A second holder waits no longer than it was told, then gets the lock once
// the first has let go.
TEST(AtomicFileTest, FolderLockWaitIsBounded) {
    testsupport::TempFolder folder;
    const QByteArray path = QFile::encodeName(folder.path());
    std::optional<FolderLock> first(std::in_place, path);
    ASSERT_EQ(first->state(), FolderLock::State::Held);
    const FolderLock busy(path, std::chrono::milliseconds(30));
    EXPECT_EQ(busy.state(), FolderLock::State::Failed);
    EXPECT_FALSE(busy.reason().isEmpty());
    first.reset();
    EXPECT_EQ(FolderLock(path, std::chrono::milliseconds(30)).state(), FolderLock::State::Held);
    EXPECT_EQ(FolderLock(path + "/none").state(), FolderLock::State::Failed);
    EXPECT_FALSE(platform::LockedFile(path + "/none/p.ini").Usable());
}

}  // namespace
