#include "platform/vb/VbString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

TEST(VbStringTest, TrimAndUCase) {
    const struct {
        std::u16string text, trim, ltrim, rtrim, ucase;
    } rows[] = {
        {u"  a b  ", u"a b", u"a b  ", u"  a b", u"  A B  "},
        {u"", u"", u"", u"", u""},
        {u"   ", u"", u"", u"", u"   "},
        // Only U+0020 is trimmed: tabs, NULs and other spaces stay.
        {u"\t x \t", u"\t x \t", u"\t x \t", u"\t x \t", u"\t X \t"},
        {u" \0 "s, u"\0"s, u"\0 "s, u" \0"s, u" \0 "s},
        {u"\u00A0x\u3000", u"\u00A0x\u3000", u"\u00A0x\u3000", u"\u00A0x\u3000", u"\u00A0X\u3000"},
        // One unit to one unit: ß and the ligature ﬁ have no single-unit capital.
        {u" straße ", u"straße", u"straße ", u" straße", u" STRAßE "},
        {u"é ÿ ﬁ", u"é ÿ ﬁ", u"é ÿ ﬁ", u"é ÿ ﬁ", u"É Ÿ ﬁ"},
    };

    for (const auto& row : rows) {
        const QString text = Q(row.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(vb::Trim(text), Q(row.trim));
        EXPECT_EQ(vb::LTrim(text), Q(row.ltrim));
        EXPECT_EQ(vb::RTrim(text), Q(row.rtrim));
        EXPECT_EQ(vb::UCase(text), Q(row.ucase));
    }
}

}  // namespace
