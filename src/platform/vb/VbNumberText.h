#pragma once
// Reading of numeric text for the conversion functions in VbConvert.h. The
// value is kept exact (as decimal digits or as a bit pattern) so that the
// rounding to an integer is decided on the text, not on a double.

#include <QStringView>
#include <optional>
#include <string>
#include <variant>

namespace vb {

// A decimal number: (negative ? -1 : 1) * 0.digits * 10^pointPosition.
struct DecimalText {
    bool negative = false;
    std::string digits;          // '0'..'9', no leading or trailing zeros; empty for zero
    qint64 pointPosition = 0;    // how many digits stand before the decimal point
};

// A &H or &O literal: the bits as written, without a sign.
struct PatternText {
    quint64 bits = 0;
    int width = 0;  // bits needed to hold it; 65 when more than 64
};

using NumberText = std::variant<DecimalText, PatternText>;

// The part of a text the run-time reads: up to the first NUL (it passes
// the text on as a C string), without surrounding spaces and tabs.
QStringView NumberField(QStringView text);

// std::nullopt when the text (up to its first NUL) is not a number.
std::optional<NumberText> ParseNumberText(QStringView text);

}  // namespace vb
