#include <gtest/gtest.h>

#include "config/IniFileModule.h"
#include "platform/vb/VbError.h"
#include "support/TestSupport.h"

namespace {

QString Nuls(int n) { return QString(n, QChar(u'\0')); }

class IniFileModuleTest : public ::testing::Test {
protected:
    QString Ini(const QByteArray& text) {
        const QString file = folder_.file(QStringLiteral("t.ini"));
        testsupport::WriteBytes(file, text);
        return file;
    }
    testsupport::TempFolder folder_;
};

TEST_F(IniFileModuleTest, ReadKeyBufferRules) {
    const QString file = Ini("[S]\nzero=0\nempty=\ntwo=ab\nlong=" + QByteArray(200, 'x') + "\nmax=" +
                             QByteArray(126, 'y') + "\n");
    const std::pair<QString, QString> cases[] = {
        {"zero", "0" + Nuls(127)},
        {"empty", Nuls(128)},
        {"missing", Nuls(128)},
        {"two", "ab"},
        {"long", QString(126, u'x')},
        {"max", QString(126, u'y')},
    };
    for (const auto& [key, value] : cases)
        EXPECT_EQ(ReadKey(QStringLiteral("S"), key, file), value) << key.toStdString();
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
