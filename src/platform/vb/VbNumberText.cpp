#include "platform/vb/VbNumberText.h"

#include <algorithm>
#include <bit>

namespace vb {

namespace {

// Exponents are saturated here: anything this large already overflows or
// underflows every target type, and saturating keeps the sums in range.
constexpr qint64 kExponentLimit = 1'000'000'000'000;

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

class Cursor {
public:
    explicit Cursor(QStringView text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char16_t peek(qsizetype ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead].unicode() : u'\0';
    }
    void advance() { ++pos_; }
    bool take(char16_t c) {
        if (peek() != c) return false;
        advance();
        return true;
    }
    bool takeLetter(char16_t upper) { return take(upper) || take(upper + (u'a' - u'A')); }
    void skipBlanks() {
        while (IsBlank(peek())) advance();
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int DigitValue(char16_t c, int base) {
    int v = -1;
    if (IsDigit(c)) v = c - u'0';
    else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
    return v < base ? v : -1;
}

// After "&": "H1F" or "O17".
std::optional<PatternText> ReadPattern(Cursor& c) {
    int base = 0;
    if (c.takeLetter(u'H')) base = 16;
    else if (c.takeLetter(u'O')) base = 8;
    else return std::nullopt;

    const int bitsPerDigit = base == 16 ? 4 : 3;
    PatternText p;
    bool anyDigit = false;
    for (int d; (d = DigitValue(c.peek(), base)) >= 0; c.advance()) {
        anyDigit = true;
        if (p.bits == 0 && d == 0) continue;  // leading zeros add no width
        p.width = p.bits == 0 ? static_cast<int>(std::bit_width(static_cast<unsigned>(d)))
                              : std::min(65, p.width + bitsPerDigit);
        if (p.width <= 64) p.bits = (p.bits << bitsPerDigit) | static_cast<quint64>(d);
    }
    if (!anyDigit) return std::nullopt;
    return p;
}

// Mantissa digits with "," between digits of the integer part, an optional
// fraction and an optional exponent.
std::optional<DecimalText> ReadDecimal(Cursor& c) {
    std::string raw;
    while (IsDigit(c.peek()) || (c.peek() == u',' && !raw.empty() && IsDigit(c.peek(1)))) {
        if (c.peek() != u',') raw.push_back(static_cast<char>(c.peek()));
        c.advance();
    }
    const auto integerDigits = static_cast<qint64>(raw.size());
    if (c.take(u'.')) {
        for (; IsDigit(c.peek()); c.advance()) raw.push_back(static_cast<char>(c.peek()));
    }
    if (raw.empty()) return std::nullopt;

    qint64 exponent = 0;
    if (c.takeLetter(u'E')) {
        const bool negativeExponent = c.take(u'-');
        if (!negativeExponent) c.take(u'+');
        if (!IsDigit(c.peek())) return std::nullopt;
        for (; IsDigit(c.peek()); c.advance())
            exponent = std::min(kExponentLimit, exponent * 10 + (c.peek() - u'0'));
        if (negativeExponent) exponent = -exponent;
    }

    DecimalText d;
    const auto first = raw.find_first_not_of('0');
    if (first == std::string::npos) return d;  // zero
    const auto last = raw.find_last_not_of('0');
    d.digits = raw.substr(first, last - first + 1);
    d.pointPosition = integerDigits - static_cast<qint64>(first) + exponent;
    return d;
}

}  // namespace

QStringView NumberField(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    QStringView field = nul < 0 ? text : text.left(nul);
    while (!field.isEmpty() && IsBlank(field.front())) field = field.mid(1);
    while (!field.isEmpty() && IsBlank(field.back())) field.chop(1);
    return field;
}

std::optional<NumberText> ParseNumberText(QStringView text) {
    // The field is already trimmed; blanks are only skipped between its parts.
    Cursor c(NumberField(text));

    // Prefix: sign or "(" (not both) and a currency sign, in any order.
    bool sign = false, negative = false, parenthesis = false, currency = false;
    for (;; c.skipBlanks()) {
        const char16_t ch = c.peek();
        if ((ch == u'+' || ch == u'-') && !sign && !parenthesis) {
            sign = true;
            negative = ch == u'-';
        } else if (ch == u'(' && !sign && !parenthesis) {
            parenthesis = negative = true;
        } else if (ch == u'$' && !currency) {
            currency = true;
        } else {
            break;
        }
        c.advance();
    }

    if (c.take(u'&')) {
        // A bit pattern stands alone: no sign, parentheses or currency.
        if (sign || parenthesis || currency) return std::nullopt;
        auto pattern = ReadPattern(c);
        if (!pattern || !c.atEnd()) return std::nullopt;
        return NumberText(*pattern);
    }

    auto decimal = ReadDecimal(c);
    if (!decimal) return std::nullopt;
    c.skipBlanks();
    if (!sign && !parenthesis && (c.peek() == u'+' || c.peek() == u'-')) {
        negative = c.peek() == u'-';
        c.advance();
    }
    if (parenthesis && !c.take(u')')) return std::nullopt;
    if (!c.atEnd()) return std::nullopt;

    decimal->negative = negative && !decimal->digits.empty();
    return NumberText(*decimal);
}

}  // namespace vb
