// Detecting a file's encoding, and writing text back in it.

#include <gtest/gtest.h>

#include "platform/profile/ProfileText.h"
#include "ProfileProbe.h"

namespace {

using platform::profile::DecodeText;
using platform::profile::EncodeText;
using platform::profile::TextEncoding;
using profiletest::Bytes;
using profiletest::Text;

QByteArray AllBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) bytes.append(char(b));
    return bytes;
}

// Latin-1 but for 0x80..0x9F, where the code page has its own letters and
// five undefined bytes.
QString EveryByteAsText() {
    QString text = QString::fromLatin1(AllBytes());
    text.replace(0x80, 32,
                 Text(u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152"
                      u"\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122"
                      u"\u0161\u203A\u0153\u009D\u017E\u0178"));
    return text;
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    TextEncoding encoding;
    QString text;
};

class ProfileDecode : public testing::TestWithParam<DecodeCase> {};

// Decoding and encoding back must give the very same bytes, or a write
// would change lines it never touched.
TEST_P(ProfileDecode, DetectsAndRoundTrips) {
    const DecodeCase& c = GetParam();
    const auto decoded = DecodeText(c.bytes);
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(EncodeText(decoded.text, decoded.encoding), c.bytes);
}

const DecodeCase kDecodeCases[] = {
    {"Empty", QByteArray(), TextEncoding::Utf8, ""},
    {"AsciiIsUtf8", Bytes("[a]\r\nk=v"), TextEncoding::Utf8, "[a]\r\nk=v"},
    {"NulBytesKept", Bytes("a\0b"), TextEncoding::Utf8, Text(u"a\0b")},
    {"Utf8", Bytes("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), TextEncoding::Utf8, Text(u"\u00E9\u20AC\U0001F600")},
    {"Utf8MarkSetAside", Bytes("\xEF\xBB\xBFk=\xC3\xA9"), TextEncoding::Utf8WithBom, Text(u"k=\u00E9")},
    {"SecondUtf8MarkIsText", Bytes("\xEF\xBB\xBF\xEF\xBB\xBFx"), TextEncoding::Utf8WithBom, Text(u"\uFEFFx")},
    {"Utf8MarkOverInvalidBytesIsCodePage", Bytes("\xEF\xBB\xBFk=\xE9"), TextEncoding::Windows1252,
     Text(u"\u00EF\u00BB\u00BFk=\u00E9")},
    {"Utf16LittleEndian", Bytes("\xFF\xFEk\0=\0\xA9\x03"), TextEncoding::Utf16LE, Text(u"k=\u03A9")},
    {"Utf16LoneSurrogateKept", Bytes("\xFF\xFE\x00\xD8x\0"), TextEncoding::Utf16LE, Text(u"\xD800x")},
    {"Utf16MarkWithOddLengthIsCodePage", Bytes("\xFF\xFEk"), TextEncoding::Windows1252, Text(u"\u00FF\u00FEk")},
    {"OverlongUtf8IsCodePage", Bytes("\xC0\x80"), TextEncoding::Windows1252, Text(u"\u00C0\u20AC")},
    {"EncodedSurrogateIsCodePage", Bytes("\xED\xA0\x80"), TextEncoding::Windows1252,
     Text(u"\u00ED\u00A0\u20AC")},
    {"TruncatedUtf8IsCodePage", Bytes("ab\xC3"), TextEncoding::Windows1252, Text(u"ab\u00C3")},
    {"UndefinedCodePageBytesKept", Bytes("\x81\x8D\x8F\x90\x9D"), TextEncoding::Windows1252,
     Text(u"\u0081\u008D\u008F\u0090\u009D")},
    {"CodePageSpecials", Bytes("\x80\x8A\x9F\xA0\xFF"), TextEncoding::Windows1252,
     Text(u"\u20AC\u0160\u0178\u00A0\u00FF")},
    {"EveryByteValue", AllBytes(), TextEncoding::Windows1252, EveryByteAsText()},
};

INSTANTIATE_TEST_SUITE_P(Bytes, ProfileDecode, testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
    const char* name;
    QString text;
    TextEncoding encoding;
    QByteArray bytes;
};

class ProfileEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(ProfileEncode, WritesWhatTheEncodingHolds) {
    const EncodeCase& c = GetParam();
    EXPECT_EQ(EncodeText(c.text, c.encoding), c.bytes);
}

const EncodeCase kEncodeCases[] = {
    {"CodePageLetters", Text(u"\u00E9\u20AC\u0153"), TextEncoding::Windows1252, Bytes("\xE9\x80\x9C")},
    {"CodePageLacksGreek", Text(u"\u03A9"), TextEncoding::Windows1252, "?"},
    {"CodePageLacksC1WhereItHasLetters", Text(u"\u0080\u009F"), TextEncoding::Windows1252, "??"},
    {"CodePageOneMarkPerCharacterOutsideBmp", Text(u"a\U0001F600b"), TextEncoding::Windows1252, "a?b"},
    {"CodePageLoneSurrogate", Text(u"\xD800"), TextEncoding::Windows1252, "?"},
    {"Utf8LoneSurrogate", Text(u"a\xDC00"), TextEncoding::Utf8, "a?"},
    {"Utf8WithMark", Text(u"\u00E9"), TextEncoding::Utf8WithBom, Bytes("\xEF\xBB\xBF\xC3\xA9")},
    {"Utf16HoldsEverything", Text(u"\U0001F600"), TextEncoding::Utf16LE, Bytes("\xFF\xFE\x3D\xD8\x00\xDE")},
};

INSTANTIATE_TEST_SUITE_P(Texts, ProfileEncode, testing::ValuesIn(kEncodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
