#include <gtest/gtest.h>

#include "config/ModString.h"
#include "support/TestSupport.h"

using namespace config;

namespace {

TEST(ModString, FileNameFromPath) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\Movies\\Holiday\\clip.avi", "clip.avi"},
        {"\\\\Server\\Share\\clip.avi", "clip.avi"},
        {"\\\\Server\\\\x", ""},  // the server name goes with its backslash only
        {"C:\\Movies\\\\clip.avi", "Movies"},  // the doubled backslash ends the walk
        {"clip.avi", "clip.avi"},
        {"http://example.org/a/page.htm", "http://example.org/a/page.htm"},
        {"HTTP://example.org\\odd", "odd"},  // addresses split at backslashes only
        {"/home/ann/Movies/clip.mkv", "clip.mkv"},
        {"Movies/clip.mkv", "clip.mkv"},
        {"//server/share/clip.mkv", "clip.mkv"},
        {"/home/ann/Movies/", "Movies"},
        {"C:", ""},
        {"", ""},
        {"C:\\Movies\\\\clip.avi", "Movies"},  // leaves "clip.avi" in the tokenizer
        {"C:\\", ""},  // nothing after the prefix: not the rest of the call before
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(FileNameFromPath(path), name) << path.toStdString();
}

TEST(ModString, NextTokenRemembersTheRestAcrossCalls) {
    EXPECT_EQ(NextToken(QStringLiteral("a,b;c"), QStringLiteral(";,")), u"a,b");  // ";" is tried first
    EXPECT_EQ(NextToken(QString(), QStringLiteral(";,")), u"c");
    EXPECT_EQ(NextToken(QString(), QStringLiteral(";,")), u"");
    EXPECT_EQ(NextToken(QStringLiteral(",x"), QStringLiteral(",")), u"");
    EXPECT_EQ(NextToken(QString(), QString()), u"x");  // no delimiters: the rest, kept
    EXPECT_EQ(NextToken(QString(), QStringLiteral(",")), u"x");
}

}  // namespace
