#include "platform/vb/VbFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(VbFormatTest, DayMonthYear) {
    const struct {
        QDate date;
        const char* expected;
    } rows[] = {
        {QDate(2025, 3, 7), "07-03-2025"},
        {QDate(2026, 12, 5), "05-12-2026"},
        {QDate(2000, 1, 1), "01-01-2000"},
        {QDate(1999, 12, 31), "31-12-1999"},
    };
    for (const auto& row : rows) EXPECT_EQ(vb::FormatDdMmYyyy(row.date), QString::fromLatin1(row.expected));
}

TEST(VbFormatTest, TwelveHourClock) {
    const struct {
        QTime time;
        const char* expected;
    } rows[] = {
        {QTime(0, 0, 0), "12:00:00 AM"},
        {QTime(0, 0, 1), "12:00:01 AM"},
        {QTime(9, 56, 42), "9:56:42 AM"},
        {QTime(11, 59, 59), "11:59:59 AM"},
        {QTime(12, 0, 0), "12:00:00 PM"},
        {QTime(12, 30, 5), "12:30:05 PM"},
        {QTime(15, 7, 9), "3:07:09 PM"},
        {QTime(23, 59, 59), "11:59:59 PM"},
    };
    for (const auto& row : rows) EXPECT_EQ(vb::FormatHMmSsAmPm(row.time), QString::fromLatin1(row.expected));
}

}  // namespace
