#include "platform/vb/VbConvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "platform/vb/VbError.h"

namespace {

using namespace std::string_literals;

// What a conversion gives: a value, or the number of the error it raises.
struct Outcome {
    std::optional<double> value;
    qint32 error = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome V(double value) { return {value, 0}; }
Outcome E(qint32 error) { return {std::nullopt, error}; }
const Outcome kMismatch = E(13);
const Outcome kOverflow = E(6);

void PrintTo(const Outcome& o, std::ostream* os) {
    if (o.value) *os << "value " << *o.value;
    else *os << "error " << o.error;
}

template <class Conversion>
Outcome Convert(Conversion convert) {
    try {
        return V(static_cast<double>(convert()));
    } catch (const vb::VbError& e) {
        return E(e.number());
    }
}

std::string Describe(const std::u16string& text) {
    const std::string utf8 = QString::fromStdU16String(text).toStdString();
    if (utf8.size() <= 60) return '"' + utf8 + '"';
    return '"' + utf8.substr(0, 40) + "...\" (" + std::to_string(utf8.size()) + " chars)";
}

std::u16string Repeat(char16_t c, std::size_t n) { return std::u16string(n, c); }

struct TextRow {
    std::u16string text;
    Outcome cint, clng, cdbl;  // IsNumeric is true exactly when cdbl has a value
};

TEST(VbConvertTest, TextToNumber) {
    const TextRow rows[] = {
        // Banker's rounding, decided on the exact decimal text.
        {u"0.5", V(0), V(0), V(0.5)},
        {u"1.5", V(2), V(2), V(1.5)},
        {u"2.5", V(2), V(2), V(2.5)},
        {u"3.5", V(4), V(4), V(3.5)},
        {u"-1.5", V(-2), V(-2), V(-1.5)},
        {u"0.6", V(1), V(1), V(0.6)},
        {u"2.5000000000000000001", V(3), V(3), V(2.5)},  // a double would tie and give 2
        {u"3.4999999999999999999", V(3), V(3), V(3.5)},  // a double would tie and give 4
        // Blanks and signs.
        {u" 12 ", V(12), V(12), V(12)},
        {u"-1", V(-1), V(-1), V(-1)},
        {u"+7", V(7), V(7), V(7)},
        {u"7-", V(-7), V(-7), V(-7)},
        {u"- 12", V(-12), V(-12), V(-12)},
        {u"(12)", V(-12), V(-12), V(-12)},
        {u"( 2.5 )", V(-2), V(-2), V(-2.5)},
        {u"-(12)", kMismatch, kMismatch, kMismatch},
        {u"(12", kMismatch, kMismatch, kMismatch},
        {u"--1", kMismatch, kMismatch, kMismatch},
        // Thousands separators and the currency sign.
        {u"1,234", V(1234), V(1234), V(1234)},
        {u"1,234,567.5", kOverflow, V(1234568), V(1234567.5)},
        {u"1,,234", kMismatch, kMismatch, kMismatch},
        {u"1.234,5", kMismatch, kMismatch, kMismatch},
        {u"$12", V(12), V(12), V(12)},
        {u"-$12", V(-12), V(-12), V(-12)},
        {u"($1,000)", V(-1000), V(-1000), V(-1000)},
        {u"12$", kMismatch, kMismatch, kMismatch},
        // Ranges.
        {u"32767", V(32767), V(32767), V(32767)},
        {u"32767.5", kOverflow, V(32768), V(32767.5)},
        {u"32768", kOverflow, V(32768), V(32768)},
        {u"-32768", V(-32768), V(-32768), V(-32768)},
        {u"-32769", kOverflow, V(-32769), V(-32769)},
        {u"2147483647.4", kOverflow, V(2147483647), V(2147483647.4)},
        {u"2147483647.5", kOverflow, kOverflow, V(2147483647.5)},
        {u"99999999999", kOverflow, kOverflow, V(99999999999.0)},
        // &H and &O bit patterns, read at the width of the target.
        {u"&H1F", V(31), V(31), V(31)},
        {u"&O17", V(15), V(15), V(15)},
        {u"&H8000", V(-32768), V(32768), V(32768)},
        {u"&HFFFF", V(-1), V(65535), V(65535)},
        {u"&H10000", kOverflow, V(65536), V(65536)},
        {u"&HFFFFFFFF", kOverflow, V(-1), V(-1)},
        {u"&H100000000", kOverflow, kOverflow, kOverflow},
        {u"&O177777", V(-1), V(65535), V(65535)},
        {u"&H", kMismatch, kMismatch, kMismatch},
        {u"-&H1", kMismatch, kMismatch, kMismatch},
        {u"&H1F.5", kMismatch, kMismatch, kMismatch},
        // Exponents.
        {u"1e3", V(1000), V(1000), V(1000)},
        {u"1.5E-2", V(0), V(0), V(0.015)},
        {u"2.5e0", V(2), V(2), V(2.5)},
        {u"0.035e2", V(4), V(4), V(3.5)},
        {u"1e400", kOverflow, kOverflow, kOverflow},
        {u"1e-400", V(0), V(0), V(0)},
        {u"1e99999999999999999999", kOverflow, kOverflow, kOverflow},
        {u"1e9223372036854775808", kOverflow, kOverflow, kOverflow},  // 2^63
        {u"1e18446744073709551617", kOverflow, kOverflow, kOverflow},  // 2^64 + 1
        {u"1.7976931348623157e308", kOverflow, kOverflow, V(std::numeric_limits<double>::max())},
        {u"1.8e308", kOverflow, kOverflow, kOverflow},
        {u"1e", kMismatch, kMismatch, kMismatch},
        {u"1e3.5", kMismatch, kMismatch, kMismatch},
        // Not numbers.
        {u"", kMismatch, kMismatch, kMismatch},
        {u"abc", kMismatch, kMismatch, kMismatch},
        {u"45 Help", kMismatch, kMismatch, kMismatch},
        {u"1.2.3", kMismatch, kMismatch, kMismatch},
        {u"True", kMismatch, kMismatch, kMismatch},
        {u"\uFF11\uFF12", kMismatch, kMismatch, kMismatch},  // full-width digits
        // The text ends at its first NUL.
        {u"12\0junk"s, V(12), V(12), V(12)},
        {u"0"s + Repeat(u'\0', 127), V(0), V(0), V(0)},
        {u"7"s + Repeat(u'\0', 127), V(7), V(7), V(7)},
        {u"\0"s + u"12", kMismatch, kMismatch, kMismatch},
        // Huge texts.
        {Repeat(u'9', 100000), kOverflow, kOverflow, kOverflow},
        {Repeat(u'0', 100000) + u"7", V(7), V(7), V(7)},
        {u"0.5" + Repeat(u'0', 100000) + u"1", V(1), V(1), V(0.5)},
        {u"1" + Repeat(u'0', 100000) + u"e-100000", V(1), V(1), V(1)},
        {u"&H" + Repeat(u'F', 100000), kOverflow, kOverflow, kOverflow},
        // Correct rounding to double even past the digits it needs: 2^53 + 1
        // lies halfway between two doubles; anything above it rounds up.
        {u"9007199254740993", kOverflow, kOverflow, V(9007199254740992.0)},
        {u"9007199254740993." + Repeat(u'0', 1000) + u"1", kOverflow, kOverflow, V(9007199254740994.0)},
    };

    for (const TextRow& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        const QStringView text(row.text.data(), static_cast<qsizetype>(row.text.size()));
        EXPECT_EQ(Convert([&] { return vb::CInt(text); }), row.cint);
        EXPECT_EQ(Convert([&] { return vb::CLng(text); }), row.clng);
        EXPECT_EQ(Convert([&] { return vb::CDbl(text); }), row.cdbl);
        EXPECT_EQ(vb::IsNumeric(text), row.cdbl.value.has_value());
    }
}

TEST(VbConvertTest, DoubleToInteger) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        Outcome cint, clng;
    } rows[] = {
        {0.5, V(0), V(0)},
        {1.5, V(2), V(2)},
        {2.5, V(2), V(2)},
        {-1.5, V(-2), V(-2)},
        {0.49999999999999994, V(0), V(0)},
        {2.5000000000000004, V(3), V(3)},
        {-7.6, V(-8), V(-8)},
        {32767.5, kOverflow, V(32768)},
        {-32768.5, V(-32768), V(-32768)},
        {-32769, kOverflow, V(-32769)},
        {2147483647.4, kOverflow, V(2147483647)},
        {2147483647.5, kOverflow, kOverflow},
        {-2147483648.5, kOverflow, V(-2147483648.0)},
        {1e300, kOverflow, kOverflow},
        {kNaN, kOverflow, kOverflow},
        {kInf, kOverflow, kOverflow},
        {-kInf, kOverflow, kOverflow},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(Convert([&] { return vb::CInt(row.value); }), row.cint);
        EXPECT_EQ(Convert([&] { return vb::CLng(row.value); }), row.clng);
    }
}

TEST(VbConvertTest, TextToBoolean) {
    const struct {
        std::u16string text;
        Outcome result;  // 1 for True, 0 for False
    } rows[] = {
        {u"True", V(1)},
        {u" False ", V(0)},
        {u"\tFALSE\t", V(0)},
        {u"True\0junk"s, V(1)},
        {u"-1", V(1)},
        {u"1", V(1)},
        {u"(1)", V(1)},
        {u"0", V(0)},
        {u"&H0", V(0)},
        {u"", kMismatch},
        {u"abc", kMismatch},
        {u"Yes", kMismatch},
        {u"True False", kMismatch},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.text));
        const QStringView text(row.text.data(), static_cast<qsizetype>(row.text.size()));
        EXPECT_EQ(Convert([&] { return vb::CBool(text); }), row.result);
    }
}

}  // namespace
