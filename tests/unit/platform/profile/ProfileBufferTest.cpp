// What a read leaves in the caller's buffer when the result is longer than
// the size it passed: every character of the buffer is checked, including
// those that must stay untouched.

#include <gtest/gtest.h>

#include <vector>

#include "ProfileProbe.h"
#include "support/TestSupport.h"

namespace {

using profiletest::Arg;
using profiletest::Text;

const QString k126 = QString(126, u'v');
const QString k127 = k126 + u'w';

QByteArray Fixture() {
    return "[section1]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n"
           "[section2]\r\nshort=val1\r\nv126=" + k126.toLatin1() + "\r\nv127=" + k127.toLatin1() +
           "\r\n[section3]\r\n";
}

struct BufferCase {
    const char* name;
    std::optional<QString> app;
    std::optional<QString> key;
    QString defaultValue;
    quint32 size;         // passed to the call
    qsizetype capacity;   // characters actually allocated, all starting as '#'
    quint32 returned;
    QString buffer;       // the whole buffer afterwards
};

QString Filled(const QString& head, qsizetype capacity) {
    return head + QString(capacity - head.size(), u'#');
}

class ProfileBuffer : public testing::TestWithParam<BufferCase> {};

TEST_P(ProfileBuffer, TruncatesLikeWindows) {
    const BufferCase& c = GetParam();
    testsupport::TempFolder folder;
    const QString path = folder.file("buffer.ini");
    testsupport::WriteBytes(path, Fixture());
    std::vector<QChar> buffer(std::size_t(c.capacity), QChar(u'#'));
    const quint32 returned = platform::profile::GetPrivateProfileString(
        Arg(c.app), Arg(c.key), c.defaultValue, buffer.data(), c.size, path);
    EXPECT_EQ(returned, c.returned);
    EXPECT_EQ(QString(buffer.data(), c.capacity), c.buffer);
}

const BufferCase kBufferCases[] = {
    // A VB caller passes 127 for a Space$(128) buffer: the last one is never written.
    {"Value126FitsIn127", "section2", "v126", "", 127, 128, 126, Filled(k126 + QChar(0), 128)},
    {"Value127CutTo126", "section2", "v127", "", 127, 128, 126, Filled(k126 + QChar(0), 128)},
    {"ValueExactFit", "section2", "short", "", 5, 6, 4, Filled(Text(u"val1\0"), 6)},
    {"ValueOneShort", "section2", "short", "", 4, 6, 3, Filled(Text(u"val\0"), 6)},
    {"ValueSizeOne", "section2", "short", "", 1, 3, 0, Filled(Text(u"\0"), 3)},
    {"ValueSizeZeroTouchesNothing", "section2", "short", "", 0, 3, 0, Filled("", 3)},
    {"DefaultCutLikeAValue", "nowhere", "k", "default", 4, 6, 3, Filled(Text(u"def\0"), 6)},
    {"KeyListFits", "section1", std::nullopt, "", 20, 21, 18,
     Filled(Text(u"name1\0name2\0name4\0\0"), 21)},
    // One short of the two spare characters counts as not fitting.
    {"KeyListOneShortOfFitting", "section1", std::nullopt, "", 19, 21, 17,
     Filled(Text(u"name1\0name2\0name4\0\0"), 21)},
    {"KeyListCutInsideAName", "section1", std::nullopt, "", 16, 21, 14,
     Filled(Text(u"name1\0name2\0na\0\0"), 21)},
    {"KeyListCutAfterANul", "section1", std::nullopt, "", 8, 10, 6, Filled(Text(u"name1\0\0\0"), 10)},
    {"KeyListSizeTwo", "section1", std::nullopt, "", 2, 4, 0, Filled(Text(u"\0\0"), 4)},
    {"KeyListSizeOneTouchesNothing", "section1", std::nullopt, "", 1, 3, 0, Filled("", 3)},
    {"KeyListOfEmptySection", "section3", std::nullopt, "d", 10, 10, 0, Filled(Text(u"\0"), 10)},
    {"SectionListExactFit", std::nullopt, std::nullopt, "", 29, 30, 27,
     Filled(Text(u"section1\0section2\0section3\0\0"), 30)},
    {"SectionListOneShort", std::nullopt, std::nullopt, "", 28, 30, 26,
     Filled(Text(u"section1\0section2\0section3\0\0"), 30)},
    {"SectionListCut", std::nullopt, std::nullopt, "", 16, 18, 14,
     Filled(Text(u"section1\0secti\0\0"), 18)},
};

INSTANTIATE_TEST_SUITE_P(Sizes, ProfileBuffer, testing::ValuesIn(kBufferCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
