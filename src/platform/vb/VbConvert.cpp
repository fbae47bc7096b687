#include "platform/vb/VbConvert.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "platform/vb/VbError.h"
#include "platform/vb/VbNumberText.h"

namespace vb {

namespace {

// 10^10 is beyond every 32-bit integer, so more integer digits than this
// overflow without looking further.
constexpr qint64 kMaxIntegerDigits = 10;

// Beyond these decimal exponents a double is certainly infinite or zero.
constexpr qint64 kDoubleOverflowPoint = 310;
constexpr qint64 kDoubleUnderflowPoint = -330;

// Enough digits to decide the correctly rounded double; a non-zero digit
// appended after them stands for everything cut off.
constexpr std::size_t kDoubleDigits = 800;

NumberText Parse(QStringView text) {
    auto number = ParseNumberText(text);
    if (!number) Raise(ErrNum::TypeMismatch);
    return *number;
}

// Banker's rounding of the exact decimal value; nullopt when its magnitude
// is too large for any 32-bit integer.
std::optional<qint64> RoundHalfEven(const DecimalText& d) {
    const auto size = static_cast<qint64>(d.digits.size());
    if (size == 0) return 0;
    if (d.pointPosition > kMaxIntegerDigits) return std::nullopt;

    qint64 whole = 0;
    for (qint64 i = 0; i < d.pointPosition; ++i) whole = whole * 10 + (i < size ? d.digits[i] - '0' : 0);

    bool up = false;
    if (d.pointPosition >= 0 && d.pointPosition < size) {
        const int firstFractionDigit = d.digits[d.pointPosition] - '0';
        // Trailing zeros are stripped, so any further digit makes it more than half.
        const bool moreThanHalf = d.pointPosition + 1 < size;
        up = firstFractionDigit > 5 || (firstFractionDigit == 5 && (moreThanHalf || whole % 2 != 0));
    }
    if (up) ++whole;
    return d.negative ? -whole : whole;
}

std::optional<double> ToDouble(const DecimalText& d) {
    if (d.digits.empty() || d.pointPosition < kDoubleUnderflowPoint) return 0.0;
    if (d.pointPosition > kDoubleOverflowPoint) return std::nullopt;

    std::string text = "0.";
    if (d.digits.size() > kDoubleDigits) {
        text.append(d.digits, 0, kDoubleDigits);
        text.push_back('1');
    } else {
        text.append(d.digits);
    }
    text += 'e' + std::to_string(d.pointPosition);

    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (d.pointPosition > 0) return std::nullopt;
        value = 0.0;
    }
    return d.negative ? -value : value;
}

// A bit pattern read as a two's-complement number of the given width.
template <class Int>
std::optional<Int> FromPattern(const PatternText& p) {
    using Unsigned = std::make_unsigned_t<Int>;
    if (p.width > std::numeric_limits<Unsigned>::digits) return std::nullopt;
    return static_cast<Int>(static_cast<Unsigned>(p.bits));
}

template <class Int>
Int TextToInteger(QStringView text) {
    const NumberText number = Parse(text);
    if (const auto* p = std::get_if<PatternText>(&number)) {
        const auto value = FromPattern<Int>(*p);
        if (!value) Raise(ErrNum::Overflow);
        return *value;
    }
    const auto value = RoundHalfEven(std::get<DecimalText>(number));
    if (!value || *value < std::numeric_limits<Int>::min() || *value > std::numeric_limits<Int>::max())
        Raise(ErrNum::Overflow);
    return static_cast<Int>(*value);
}

template <class Int>
Int DoubleToInteger(double value) {
    if (!std::isfinite(value)) Raise(ErrNum::Overflow);
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for every double
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        Raise(ErrNum::Overflow);
    return static_cast<Int>(rounded);
}

}  // namespace

qint16 CInt(QStringView text) { return TextToInteger<qint16>(text); }
qint32 CLng(QStringView text) { return TextToInteger<qint32>(text); }
qint16 CInt(double value) { return DoubleToInteger<qint16>(value); }
qint32 CLng(double value) { return DoubleToInteger<qint32>(value); }

double CDbl(QStringView text) {
    const NumberText number = Parse(text);
    // VB's widest integer is the 32-bit Long, so wider patterns overflow.
    const auto value = std::holds_alternative<PatternText>(number)
                           ? std::optional<double>(FromPattern<qint32>(std::get<PatternText>(number)))
                           : ToDouble(std::get<DecimalText>(number));
    if (!value) Raise(ErrNum::Overflow);
    return *value;
}

bool CBool(QStringView text) {
    const QStringView word = NumberField(text);
    if (word.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (word.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    return CDbl(text) != 0.0;
}

bool IsNumeric(QStringView text) {
    try {
        CDbl(text);
        return true;
    } catch (const VbError&) {
        return false;
    }
}

}  // namespace vb
