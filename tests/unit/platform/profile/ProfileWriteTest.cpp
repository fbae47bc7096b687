// Writes compared byte for byte: only the line concerned changes, and the
// file keeps its line endings and its encoding.

#include <gtest/gtest.h>

#include <QFileInfo>

#include "ProfileProbe.h"
#include "support/TestSupport.h"

namespace {

using profiletest::Arg;
using profiletest::Bytes;
using profiletest::Text;

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before;  // nullopt: no file yet
    std::optional<QString> app;
    std::optional<QString> key;
    std::optional<QString> value;
    bool succeeds;
    std::optional<QByteArray> after;  // nullopt: still no file
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheLineConcerned) {
    const WriteCase& c = GetParam();
    testsupport::TempFolder folder;
    const QString path = folder.file("write.ini");
    if (c.before) testsupport::WriteBytes(path, *c.before);
    EXPECT_EQ(platform::profile::WritePrivateProfileString(Arg(c.app), Arg(c.key), Arg(c.value), path),
              c.succeeds);
    ASSERT_EQ(QFileInfo::exists(path), c.after.has_value());
    if (c.after) {
        EXPECT_EQ(testsupport::ReadBytes(path), *c.after);
    }
}

const QByteArray kTwoSections = Bytes("[A]\r\nk=v\r\n; note\r\n\r\n[B]\r\nz=1\r\n");

const WriteCase kWriteCases[] = {
    {"NewFile", std::nullopt, "Sec", "key", "value", true, Bytes("[Sec]\r\nkey=value\r\n")},
    {"EmptyFile", QByteArray(), "Sec", "key", "value", true, Bytes("[Sec]\r\nkey=value\r\n")},
    {"NamesLoseSurroundingSpacesOnly", std::nullopt, " Sec\t ", "  key ", " v ", true,
     Bytes("[Sec\t]\r\nkey= v \r\n")},
    {"EmptyValueWritesKeyAndEquals", std::nullopt, "S", "k", "", true, Bytes("[S]\r\nk=\r\n")},
    {"NewSectionDirectlyAfterLastLine", kTwoSections, "C", "x", "1", true,
     kTwoSections + "[C]\r\nx=1\r\n"},
    {"NewSectionAfterUnterminatedLastLine", Bytes("[A]\nk=v"), "B", "x", "1", true,
     Bytes("[A]\nk=v\n[B]\nx=1\n")},
    {"NewKeyBeforeTrailingCommentAndBlank", kTwoSections, "a", "new", "n", true,
     Bytes("[A]\r\nk=v\r\nnew=n\r\n; note\r\n\r\n[B]\r\nz=1\r\n")},
    {"NewKeyAfterLineWithoutEquals", Bytes("[A]\r\nk=v\r\nstray\r\n;c\r\n"), "A", "n", "1", true,
     Bytes("[A]\r\nk=v\r\nstray\r\nn=1\r\n;c\r\n")},
    {"NewKeyInSectionWithoutEntries", Bytes("[A]\r\n; c\r\n[B]\r\n"), "A", "k", "v", true,
     Bytes("[A]\r\nk=v\r\n; c\r\n[B]\r\n")},
    {"NewKeyAfterUnterminatedHeader", Bytes("[A]"), "A", "k", "v", true, Bytes("[A]\r\nk=v\r\n")},
    {"NewKeyGoesToFirstCopyOfSection", Bytes("[A]\nk=1\n[a]\nm=2\n"), "A", "m", "3", true,
     Bytes("[A]\nk=1\nm=3\n[a]\nm=2\n")},
    {"NewKeyWithCarriageReturnOnlyLines", Bytes("[A]\rk=v\r"), "A", "n", "1", true,
     Bytes("[A]\rk=v\rn=1\r")},
    {"UpdateKeepsSpellingIndentationAndLineFeeds", Bytes("[A]\n  Key \t=  old value\nother=1\n"), "a",
     "KEY", "new", true, Bytes("[A]\n  Key \t=new\nother=1\n")},
    {"UpdateChangesFirstOfDuplicateKeys", Bytes("[A]\r\nk=1\r\nk=2\r\n"), "A", "k", "3", true,
     Bytes("[A]\r\nk=3\r\nk=2\r\n")},
    {"UpdateKeepsLineOwnEnding", Bytes("[A]\r\nk=1\nm=2\r\n"), "A", "k", "3", true,
     Bytes("[A]\r\nk=3\nm=2\r\n")},
    {"UpdateOfUnterminatedLastLineAddsEnding", Bytes("[A]\r\nk=old"), "A", "k", "new", true,
     Bytes("[A]\r\nk=new\r\n")},
    {"UpdateWritesValueVerbatim", Bytes("[A]\r\nk=\"q\"\r\n"), "A", "k", " a=b ;c ", true,
     Bytes("[A]\r\nk= a=b ;c \r\n")},
    {"SemicolonKeyBecomesAComment", Bytes("[A]\r\n"), "A", ";k", "v", true, Bytes("[A]\r\n;k=v\r\n")},
    {"DeleteKeyKeepsNeighbours", Bytes("[A]\r\nk=v\r\n;c\r\nm=w\r\n"), "A", "K", std::nullopt, true,
     Bytes("[A]\r\n;c\r\nm=w\r\n")},
    {"DeleteLastKeyKeepsHeader", Bytes("[A]\r\nk=v"), "A", "k", std::nullopt, true, Bytes("[A]\r\n")},
    {"DeleteMissingKeyIsNoError", kTwoSections, "A", "none", std::nullopt, true, kTwoSections},
    {"DeleteInMissingFileCreatesNothing", std::nullopt, "A", "k", std::nullopt, true, std::nullopt},
    {"DeleteSectionKeepsItsComments", Bytes("[A]\r\nk=v\r\n; keep\r\nm=w\r\n[B]\r\nx=1\r\n"), "a",
     std::nullopt, std::nullopt, true, Bytes("; keep\r\n[B]\r\nx=1\r\n")},
    {"DeleteSectionTakesFirstCopyOnly", Bytes("[A]\nk=1\n[B]\n[A]\nk=2\n"), "A", std::nullopt,
     std::nullopt, true, Bytes("[B]\n[A]\nk=2\n")},
    {"NoSectionNameFails", kTwoSections, std::nullopt, "k", "v", false, kTwoSections},
    {"Windows1252FileKeepsItsBytes", Bytes("[A]\r\nk=caf\xE9\r\nm=\x80\x81\x8D\x8F\x90\x9D\r\n"), "A", "m",
     Text(u"\u00E9\u20AC\u0178"), true, Bytes("[A]\r\nk=caf\xE9\r\nm=\xE9\x80\x9F\r\n")},
    {"Windows1252UnencodableBecomesQuestionMark", Bytes("[A]\r\nk=\xE9\r\n"), "A", "k",
     Text(u"\u03A9\U0001F600."), true, Bytes("[A]\r\nk=??.\r\n")},
    {"Utf8ByteOrderMarkKept", Bytes("\xEF\xBB\xBF[A]\r\nk=v\r\n"), "A", "k", Text(u"\u00E9"), true,
     Bytes("\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n")},
    {"Utf16LittleEndianKept", Bytes("\xFF\xFE[\0A\0]\0\n\0"), "A", "k", Text(u"\u03A9"), true,
     Bytes("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xA9\x03\n\0")},
    {"NewFileIsUtf8WithoutMark", std::nullopt, "A", "k", Text(u"\u00E9"), true,
     Bytes("[A]\r\nk=\xC3\xA9\r\n")},
};

INSTANTIATE_TEST_SUITE_P(Edits, ProfileWrite, testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
