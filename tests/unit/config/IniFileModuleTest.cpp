#include <gtest/gtest.h>

#include "config/IniFileModule.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

using namespace config;

namespace {

QString Nuls(int n) { return QString(n, QChar(u'\0')); }

class IniFileModuleTest : public ::testing::Test {
protected:
    QString Ini(const QByteArray& text) {
        const QString file = folder_.file(QStringLiteral("t.ini"));
        testsupport::WriteBytes(file, text);
        platform::profile::WritePrivateProfileString(std::nullopt, std::nullopt, std::nullopt, file);  // read it anew
        return file;
    }
    testsupport::TempFolder folder_;
};

// Values come whole at any length; a read of fewer than two characters is
// short: it has no value, and its text is what conversions have always read.
TEST_F(IniFileModuleTest, ValuesAreReadWholeAndShortReadsHaveNoValue) {
    const std::tuple<const char*, QByteArray, QString, bool> rows[] = {  // key, line, value read, no value
        {"missing", QByteArray(130, 'k') + "=12\n", Nuls(128), true},  // its name is cut from the list
        {"one", "one=0\n", "0" + Nuls(127), true},
        {"two", "two=ab\n", "ab", false},
        {"v127", "v127=" + QByteArray(127, 'b') + "\n", QString(127, u'b'), false},
        {"v128", "v128=" + QByteArray(128, 'c') + "\n", QString(128, u'c'), false},
        {"v4000", "v4000=" + QByteArray(4000, 'e') + "\n", QString(4000, u'e'), false},
    };
    for (const auto& [key, line, value, noValue] : rows) {
        SectionList pairs;
        ASSERT_TRUE(ReadSection(QStringLiteral("S"), pairs, Ini("[S]\n" + line))) << key;
        EXPECT_EQ(pairs.front().value, value) << key;
        EXPECT_EQ(pairs.front().noValue, noValue) << key;
    }
}

TEST_F(IniFileModuleTest, ReadSectionGivesPairsInFileOrder) {
    const QString file = Ini("[S]\nc=3\na=1\nb=22\nA=dup\n[Empty]\n");
    SectionList pairs;
    EXPECT_TRUE(ReadSection(QStringLiteral("S"), pairs, file));
    QStringList read;
    for (const KeyValuePair& pair : pairs) read << pair.name + u'=' + pair.value;
    // A duplicate reads the first key's value.
    EXPECT_EQ(read, QStringList({"c=3" + Nuls(127), "a=1" + Nuls(127), "b=22", "A=1" + Nuls(127)}));
    EXPECT_EQ(PairAt(pairs, 3).name, u"b");
    EXPECT_THROW(PairAt(pairs, 5), vb::VbError);
    EXPECT_THROW(PairAt(pairs, 0), vb::VbError);

    SectionList kept{{QStringLiteral("old"), QStringLiteral("x")}};
    EXPECT_FALSE(ReadSection(QStringLiteral("Empty"), kept, file));
    EXPECT_FALSE(ReadSection(QStringLiteral("Missing"), kept, file));
    EXPECT_FALSE(ReadSection(QStringLiteral("S"), kept, folder_.file(QStringLiteral("none.ini"))));
    EXPECT_EQ(kept.size(), 1u);
}

TEST_F(IniFileModuleTest, KeyNamesBeyondTheBufferAreLostOrCut) {
    // 12 names of 10 characters need 132 characters with their NULs; 127 are
    // given, so the list is cut to 125 and the 12th name arrives cut to "key1".
    QByteArray text = "[S]\n";
    for (int i = 0; i < 12; ++i) text += "key" + QByteArray::number(1000000 + i) + "=v" + QByteArray::number(i) + "\n";
    SectionList pairs;
    EXPECT_TRUE(ReadSection(QStringLiteral("S"), pairs, Ini(text)));
    ASSERT_EQ(pairs.size(), 12u);
    EXPECT_EQ(pairs[10].name + pairs[10].value, u"key1000010v10");
    EXPECT_EQ(pairs[11].name + pairs[11].value, "key1" + Nuls(128));
}

}  // namespace
