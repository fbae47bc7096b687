#pragma once
// Conversions of text to numbers and booleans with the VB run-time's rules:
// the text is read up to its first NUL; surrounding blanks, a leading or
// trailing sign, parentheses for a negative number, thousands separators,
// a currency sign, exponents and &H / &O prefixes are accepted; anything
// else raises error 13 (Type mismatch). Integer results use banker's
// rounding of the decimal value and raise error 6 (Overflow) outside their
// range. The locale is fixed to the one the collection files are written
// in: "." decimal point, "," thousands separator.

#include <QString>
#include <QStringView>

namespace vb {

qint16 CInt(QStringView text);
qint32 CLng(QStringView text);
double CDbl(QStringView text);
bool CBool(QStringView text);  // "True"/"False" in any case, or a number (non-zero = true)

qint16 CInt(double value);  // banker's rounding, error 6 outside -32768..32767
qint32 CLng(double value);  // banker's rounding, error 6 outside the 32-bit range

// True when the whole text converts to a number.
bool IsNumeric(QStringView text);

}  // namespace vb
