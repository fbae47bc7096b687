// Reading values and name lists from fixture files: how lines are
// classified, matched and trimmed.

#include <gtest/gtest.h>

#include "ProfileProbe.h"
#include "support/TestSupport.h"

namespace {

using profiletest::Bytes;
using profiletest::ReadReturned;
using profiletest::Text;

const QByteArray kMixed = Bytes(
    "; leading comment\r\n"
    "orphan=before any section\r\n"
    "[General]\r\n"
    "Name=First\r\n"
    "name=Second\r\n"
    "  Spaced Key \t=\t  spaced value \v\r\n"
    "Quoted=\"  kept  \"\r\n"
    "Single='x'\r\n"
    "Mismatch='x\"\r\n"
    "OneQuote=\"\r\n"
    ";Hidden=comment\r\n"
    "  ;Indented=comment too\r\n"
    "#Hash=not a comment\r\n"
    "NoEquals\r\n"
    "Empty=\r\n"
    "Inline=v ;x\r\n"
    "Tabbed\tKey=t\r\n"
    "[general]\r\n"
    "Later=unreachable\r\n"
    "  [ Spaces ] trailing=ignored\r\n"
    "k=in spaces\r\n"
    "[]\r\n"
    "k=nameless\r\n"
    "[Open\r\n"
    "k=no bracket\r\n");

// The list example Windows' own conformance tests use.
const QByteArray kNoEqualsLine = Bytes("[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n");

// Sections this large are looked up through a hash index instead of a scan.
QByteArray LargeSections() {
    QByteArray text = "[Big]\n";
    for (int i = 0; i < 40; ++i) text += "k" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    text += "K7=duplicate\n[big]\n";
    for (int i = 0; i < 20; ++i) text += "later" + QByteArray::number(i) + "=x\n";
    return text;
}

QByteArray Utf16Le(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

struct ReadCase {
    const char* name;
    std::optional<QByteArray> file;  // nullopt: no such file
    std::optional<QString> app;
    std::optional<QString> key;
    QString defaultValue;
    QString expected;  // the returned characters and the NUL after them
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, CopiesWhatWindowsWould) {
    const ReadCase& c = GetParam();
    testsupport::TempFolder folder;
    const QString path = folder.file("test.ini");
    if (c.file) testsupport::WriteBytes(path, *c.file);
    EXPECT_EQ(ReadReturned(c.app, c.key, c.defaultValue, path), c.expected);
}

const ReadCase kReadCases[] = {
    {"NamesMatchIgnoringCase", kMixed, "GENERAL", "NAME", "d", Text(u"First\0")},
    {"FirstDuplicateKeyWins", kMixed, "General", "name", "d", Text(u"First\0")},
    {"BlanksAroundFileNamesAndValuesIgnored", kMixed, "General", "Spaced Key", "d", Text(u"spaced value\0")},
    {"SpacesAroundParametersIgnored", kMixed, "  General ", " Spaced Key  ", "d", Text(u"spaced value\0")},
    {"TabInParameterIsPartOfName", kMixed, "General", "\tName", "d", Text(u"d\0")},
    {"OuterDoubleQuotesRemovedInnerBlanksKept", kMixed, "General", "Quoted", "d", Text(u"  kept  \0")},
    {"OuterSingleQuotesRemoved", kMixed, "General", "Single", "d", Text(u"x\0")},
    {"MismatchedQuotesKept", kMixed, "General", "Mismatch", "d", Text(u"'x\"\0")},
    {"LoneQuoteKept", kMixed, "General", "OneQuote", "d", Text(u"\"\0")},
    {"CommentLineIsNoKey", kMixed, "General", ";Hidden", "d", Text(u"d\0")},
    {"IndentedCommentLineIsNoKey", kMixed, "General", ";Indented", "d", Text(u"d\0")},
    {"HashIsNoComment", kMixed, "General", "#Hash", "d", Text(u"not a comment\0")},
    {"LineWithoutEqualsIsNoKey", kMixed, "General", "NoEquals", "d", Text(u"d\0")},
    {"EmptyValueIsNotTheDefault", kMixed, "General", "Empty", "d", Text(u"\0")},
    {"NoInlineComments", kMixed, "General", "Inline", "d", Text(u"v ;x\0")},
    {"TabInsideKeyNameKept", kMixed, "General", "Tabbed\tKey", "d", Text(u"t\0")},
    {"LaterCopyOfSectionUnreachable", kMixed, "general", "Later", "d", Text(u"d\0")},
    {"HeaderTrimmedAndRestOfLineIgnored", kMixed, "Spaces", "k", "d", Text(u"in spaces\0")},
    {"NothingAfterBracketIsAKey", kMixed, "Spaces", "trailing", "d", Text(u"d\0")},
    {"EmptySectionNameIsASection", kMixed, "", "k", "d", Text(u"nameless\0")},
    {"HeaderWithoutClosingBracket", kMixed, "Open", "k", "d", Text(u"no bracket\0")},
    {"LinesBeforeFirstHeaderUnreadable", kMixed, "", "orphan", "d", Text(u"d\0")},
    {"DefaultLosesOnlyTrailingSpaces", kMixed, "General", "missing", " de\tf  ", Text(u" de\tf\0")},
    {"EmptyKeyNameGivesDefault", kMixed, "General", "", "d", Text(u"d\0")},
    {"MissingSectionGivesDefault", kMixed, "Nowhere", "Name", "d", Text(u"d\0")},
    {"MissingFileGivesDefault", std::nullopt, "General", "Name", "d", Text(u"d\0")},
    {"KeyListHasDuplicatesButNoCommentsOrBareLines", kMixed, "general", std::nullopt, "d",
     Text(u"Name\0name\0Spaced Key\0Quoted\0Single\0Mismatch\0OneQuote\0#Hash\0Empty\0Inline\0"
          u"Tabbed\tKey\0\0")},
    {"SectionListHasEveryCopy", kMixed, std::nullopt, std::nullopt, "d",
     Text(u"General\0general\0Spaces\0\0Open\0\0")},
    {"KeyListSkipsLineWithoutEquals", kNoEqualsLine, "s", std::nullopt, "d",
     Text(u"name1\0name2\0name4\0\0")},
    {"KeyListOfMissingSectionIsTheDefault", kNoEqualsLine, "t", std::nullopt, "dflt ", Text(u"dflt\0")},
    {"KeyListOfMissingSectionWithoutDefault", kNoEqualsLine, "t", std::nullopt, "", Text(u"\0")},
    {"SectionListOfMissingFileIsEmpty", std::nullopt, std::nullopt, std::nullopt, "d", Text(u"\0")},
    {"CarriageReturnOnlyLines", Bytes("[a]\rk=1\r\r[b]\rk=2"), "b", "k", "d", Text(u"2\0")},
    {"LineFeedOnlyLines", Bytes("[a]\nk=1\n[b]\nk=2\n"), "a", "k", "d", Text(u"1\0")},
    {"NulIsAnOrdinaryCharacter", Bytes("[a\0b]\nk\0=v\0w\n"), Text(u"a\0b"), Text(u"k\0"), "d",
     Text(u"v\0w\0")},
    {"LongLineIsReadWhole", "[a]\nk=" + QByteArray(100000, 'x') + "\nz=1", "a", "z", "d", Text(u"1\0")},
    {"BinaryGarbageAroundAKey", Bytes("\x00\xFF\x81\r\x0B[s]\x00\r\x8D\x9D\x90\nk=v\r\xFE\xFF\x00"), "s", "k",
     "d", Text(u"v\0")},
    {"Windows1252Decoded", Bytes("[s]\r\nk=caf\xE9 \x80\x81\r\n"), "S", "k", "d", Text(u"caf\u00E9 \u20AC\u0081\0")},
    {"Utf8Decoded", Bytes("[s]\r\nk=caf\xC3\xA9\r\n"), "s", "k", "d", Text(u"caf\u00E9\0")},
    {"Utf8ByteOrderMarkSetAside", Bytes("\xEF\xBB\xBF[s]\r\nk=v\r\n"), "s", "k", "d", Text(u"v\0")},
    {"Utf16LittleEndian", Utf16Le(Text(u"[s]\r\nk=\u03A9\r\n")), "s", "k", "d", Text(u"\u03A9\0")},
    {"LargeSectionKeyFound", LargeSections(), "BIG", "K39", "d", Text(u"v39\0")},
    {"LargeSectionFirstDuplicateWins", LargeSections(), "big", "k7", "d", Text(u"v7\0")},
    {"LargeSectionMissingKey", LargeSections(), "Big", "k40", "d", Text(u"d\0")},
    {"LaterCopyOfLargeSectionUnreachable", LargeSections(), "Big", "later5", "d", Text(u"d\0")},
    {"NamesFoldBeyondAscii", Bytes("[\xC3\x89t\xC3\xA9]\nk=v\n"), Text(u"\u00E9T\u00C9"), "K", "d",
     Text(u"v\0")},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ProfileRead, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
