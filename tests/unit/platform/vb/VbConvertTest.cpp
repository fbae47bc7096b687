#include "platform/vb/VbConvert.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "platform/vb/VbError.h"

namespace {

using namespace std::string_literals;

// What a conversion gives: a value, or the number of the error it raises.
struct Outcome { std::optional<double> value; qint32 error = 0; bool operator==(const Outcome&) const = default; };

Outcome V(double value) { return {value, 0}; }
const Outcome kMismatch{std::nullopt, 13};
const Outcome kOverflow{std::nullopt, 6};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << (o.value ? "value " + std::to_string(*o.value) : "error " + std::to_string(o.error));
}

template <class Conversion>
Outcome Convert(Conversion convert) {
    try {
        return V(static_cast<double>(convert()));
    } catch (const vb::VbError& e) {
        return {std::nullopt, e.number()};
    }
}

QStringView View(const std::u16string& text) { return {text.data(), static_cast<qsizetype>(text.size())}; }

std::string Describe(const std::u16string& text) { return View(text).left(60).toString().toStdString(); }

// IsNumeric is true exactly when CDbl gives a value. The text is a view into
// a longer string, whose sign and digit past its end must not be read.
void ExpectConversions(const std::u16string& source, const Outcome& cint, const Outcome& clng, const Outcome& cdbl) {
    SCOPED_TRACE(Describe(source));
    const std::u16string longer = source + u"-5";
    const QStringView text = View(longer).first(static_cast<qsizetype>(source.size()));
    EXPECT_EQ(Convert([&] { return vb::CInt(text); }), cint);
    EXPECT_EQ(Convert([&] { return vb::CLng(text); }), clng);
    EXPECT_EQ(Convert([&] { return vb::CDbl(text); }), cdbl);
    EXPECT_EQ(vb::IsNumeric(text), cdbl.value.has_value());
}

TEST(VbConvertTest, TextToNumber) {
    // CInt and CLng agree here: the value CDbl gives, rounded.
    const struct { std::u16string text; double cdbl, rounded; } values[] = {
        // Banker's rounding, decided on the exact decimal text (a double would tie on the first).
        {u"2.5000000000000000001", 2.5, 3}, {u"0.5", 0.5, 0}, {u"1.5", 1.5, 2}, {u"2.5", 2.5, 2}, {u"-1.5", -1.5, -2},
        {u"1.5E-2", 0.015, 0}, {u" 12 ", 12, 12}, {u"7-", -7, -7}, {u"- 12", -12, -12}, {u"( 2.5 )", -2.5, -2},
        {u"($1,000)", -1000, -1000}, {u"32767", 32767, 32767}, {u"-32768", -32768, -32768},
        {u"7\0 9"s, 7, 7},  // the text ends at its first NUL
    };
    for (const auto& row : values) ExpectConversions(row.text, V(row.rounded), V(row.rounded), V(row.cdbl));

    const struct { std::u16string text; Outcome cint, clng, cdbl; } rows[] = {
        {u"1,234,567.5", kOverflow, V(1234568), V(1234567.5)}, {u"32767.5", kOverflow, V(32768), V(32767.5)},
        {u"2147483647.5", kOverflow, kOverflow, V(2147483647.5)},
        // &H and &O bit patterns, read at the width of the target.
        {u"&H8000", V(-32768), V(32768), V(32768)}, {u"&O177777", V(-1), V(65535), V(65535)},
        {u"&H10000", kOverflow, V(65536), V(65536)}, {u"&HFFFFFFFF", kOverflow, V(-1), V(-1)},
        // Correct rounding to double past the digits it needs: just above 2^53 + 1, halfway between two doubles.
        {u"9007199254740993." + std::u16string(1000, u'0') + u"1", kOverflow, kOverflow, V(9007199254740994.0)},
    };
    for (const auto& row : rows) ExpectConversions(row.text, row.cint, row.clng, row.cdbl);

    for (const std::u16string& text : {u""s, u"45 Help"s, u"1.2.3"s, u"--1"s, u"-(12)"s, u"(12"s, u"1,,234"s, u"&H"s,
                                       u"-&H1"s, u"1e"s})
        ExpectConversions(text, kMismatch, kMismatch, kMismatch);
    for (const std::u16string& text : {u"&H100000000"s, u"1.8e308"s, u"1e99999999999999999999"s})
        ExpectConversions(text, kOverflow, kOverflow, kOverflow);
}

TEST(VbConvertTest, DoubleToInteger) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
    const struct { double value; Outcome cint, clng; } rows[] = {
        {0.5, V(0), V(0)}, {1.5, V(2), V(2)}, {2.5, V(2), V(2)}, {0.49999999999999994, V(0), V(0)},
        {-32768.5, V(-32768), V(-32768)}, {32767.5, kOverflow, V(32768)}, {-2147483648.5, kOverflow, V(-2147483648.0)},
        {2147483647.5, kOverflow, kOverflow}, {kNaN, kOverflow, kOverflow}, {-kInf, kOverflow, kOverflow},
    };
    for (const auto& row : rows)
        EXPECT_EQ(std::pair(Convert([&] { return vb::CInt(row.value); }), Convert([&] { return vb::CLng(row.value); })),
                  std::pair(row.cint, row.clng)) << row.value;
}

TEST(VbConvertTest, TextToBoolean) {
    const struct { std::u16string text; Outcome result; } rows[] = {  // 1 for True, 0 for False
        // A word, in any case, with blanks around it and ending at a NUL; otherwise a number, True unless zero.
        {u"True\0junk"s, V(1)}, {u"\tfALSE ", V(0)}, {u"Yes", kMismatch}, {u"-1", V(1)}, {u"0", V(0)}, {u"", kMismatch},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Convert([&] { return vb::CBool(View(row.text)); }), row.result) << Describe(row.text);
}

}  // namespace
