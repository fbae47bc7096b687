#include "startup/XScreensaverSetup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <sys/stat.h>

#include "support/TestSupport.h"

using namespace startup;

namespace {

// The entry is inserted into each form of the list with every other byte
// kept (line ends, tabs, bytes that are no UTF-8, the mode); a list that
// runs zorscr already, by any path and disabled or not, stays as it is.
TEST(XScreensaverSetup, AddsTheDisplayModeOnce) {
    const QByteArray entry = "  \"ZORScr\"  zorscr --root  \\n\\\n";
    const QByteArray odd = "# mine\r\nmode:\t\trandom\nprograms:\t\t\\\n\t\tqix -root\t\t\\n\\\n"
                           "-\t\"\xe9t\xe9\"  maze -root  \\n\\\n\nlock: True";
    const std::pair<QByteArray, QByteArray> cases[] = {  // the file, how it ends after (empty: as it was)
        {"", "\nprograms:\t\\\n" + entry + "\n"},
        {odd, QByteArray(odd).insert(odd.indexOf("\n\nlock") + 1, entry)},
        {"mode: one", "mode: one\n\nprograms:\t\\\n" + entry + "\n"},
        {"\nmode: one\nprograms: qix -root", "\nprograms:\t\\\n" + entry + " qix -root"},  // after a blank first line
        {"programs:\\\n qix -root \\n\\\n maze -root", "programs:\\\n" + entry + " qix -root \\n\\\n maze -root"},
        {"programs: \\\n qix -root \\n\\", "programs: \\\n qix -root \\n\\\n" + entry},
        {"programs: \"zorscr\" xzorscr -root\n", "programs:\t\\\n" + entry + " \"zorscr\" xzorscr -root\n"},
        {"a: \\\nprograms: x\n*programs: \\\n-  GL:  \"Mine\"  /opt/ZORScr -root -- My.ini \\n\\\n\n", {}},
    };
    for (const auto& [start, end] : cases) {
        SCOPED_TRACE(start.toStdString());
        const std::optional<QByteArray> added = WithDisplayMode(start);
        ASSERT_EQ(added.has_value(), !end.isEmpty());
        if (!added) continue;
        EXPECT_TRUE(added->endsWith(end)) << added->toStdString();
        EXPECT_EQ(WithDisplayMode(*added), std::nullopt);
    }
}

// In the user's own file, which keeps its mode; a folder in its place is refused.
TEST(XScreensaverSetup, WritesTheUsersFileOrSaysWhyNot) {
    const testsupport::TempFolder home;
    const testsupport::ScopedEnv homeVariable("HOME", home.path().toLocal8Bit());
    const QString path = home.file(".xscreensaver");
    testsupport::WriteBytes(path, "mode: one");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    EXPECT_EQ(SetUpXScreensaver(), 0);
    EXPECT_EQ(testsupport::ReadBytes(path), *WithDisplayMode("mode: one"));
    EXPECT_EQ(QFile::permissions(path) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(SetUpXScreensaver(), 0);
    EXPECT_EQ(testsupport::ReadBytes(path), *WithDisplayMode("mode: one"));
    ASSERT_TRUE(QFile::remove(path) && QDir().mkpath(path));
    EXPECT_EQ(SetUpXScreensaver(), 1);
}

}  // namespace
