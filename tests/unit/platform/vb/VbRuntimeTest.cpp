#include <gtest/gtest.h>

#include <new>
#include <string>

#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "platform/vb/VbFormat.h"
#include "platform/vb/VbString.h"

namespace {

using namespace Qt::StringLiterals;
using namespace std::string_literals;

// Number, description and source of the program-wide Err object.
QString ErrText() {
    return QString::number(vb::Err().Number()) + '|' + vb::Err().Description() + '|' + vb::Err().Source();
}

TEST(VbErrorTest, ResumeNextRemembersTheLastSkippedError) {
    vb::Err().Clear();
    bool restOfStatementRan = false;
    vb::ResumeNext([&] { vb::Raise(vb::ErrNum::TypeMismatch); restOfStatementRan = true; });
    EXPECT_FALSE(restOfStatementRan);
    vb::ResumeNext([] {});  // a statement that succeeds leaves Err as it was
    EXPECT_EQ(ErrText(), u"13|Type mismatch|"_s);
    vb::ResumeNext([] { vb::Raise(1001, u"Collection"_s, u"custom"_s); });
    EXPECT_EQ(ErrText(), u"1001|custom|Collection"_s);
    vb::ResumeNext([] { throw std::bad_alloc(); });
    EXPECT_THROW(vb::ResumeNext([] { throw vb::ProgramEnded{3}; }), vb::ProgramEnded);  // the end is no error
    EXPECT_EQ(ErrText(), u"7|Out of memory|"_s);
    vb::Err().Clear();
    EXPECT_EQ(ErrText(), u"0||"_s);
}

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

// Only U+0020 is trimmed; UCase maps one unit to one unit, so ß and the ligature ﬁ stay.
TEST(VbStringTest, TrimAndUCase) {
    const struct { std::u16string text, trim, ltrim, rtrim, ucase; } rows[] = {
        {u"  a b  ", u"a b", u"a b  ", u"  a b", u"  A B  "},
        {u"\t x\0 "s, u"\t x\0"s, u"\t x\0 "s, u"\t x\0"s, u"\t X\0 "s},
        {u"é ÿ ß ﬁ", u"é ÿ ß ﬁ", u"é ÿ ß ﬁ", u"é ÿ ß ﬁ", u"É Ÿ ß ﬁ"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Q(row.text).toStdString());
        EXPECT_EQ(QStringList({vb::Trim(Q(row.text)), vb::LTrim(Q(row.text)), vb::RTrim(Q(row.text)),
                               vb::UCase(Q(row.text))}),
                  QStringList({Q(row.trim), Q(row.ltrim), Q(row.rtrim), Q(row.ucase)}));
    }
}

// Midnight and noon are 12 on the twelve-hour clock.
TEST(VbFormatTest, DayMonthYearAndTwelveHourClock) {
    EXPECT_EQ(QStringList({vb::FormatDdMmYyyy(QDate(2025, 3, 7)), vb::FormatHMmSsAmPm(QTime(0, 0, 1)),
                           vb::FormatHMmSsAmPm(QTime(12, 0, 0)), vb::FormatHMmSsAmPm(QTime(15, 7, 9))}),
              QStringList({"07-03-2025", "12:00:01 AM", "12:00:00 PM", "3:07:09 PM"}));
}

}  // namespace
