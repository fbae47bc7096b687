#include "platform/vb/VbString.h"

namespace vb {

namespace {

constexpr QChar kBlank = u' ';

qsizetype FirstNonBlank(QStringView s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == kBlank) ++i;
    return i;
}

qsizetype EndOfNonBlank(QStringView s) {
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == kBlank) --end;
    return end;
}

}  // namespace

QString LTrim(QStringView s) { return s.mid(FirstNonBlank(s)).toString(); }

QString RTrim(QStringView s) { return s.left(EndOfNonBlank(s)).toString(); }

QString Trim(QStringView s) {
    const qsizetype begin = FirstNonBlank(s);
    return s.mid(begin, qMax<qsizetype>(0, EndOfNonBlank(s) - begin)).toString();
}

QString UCase(QStringView s) {
    // QString::toUpper applies full case mapping ("ß" -> "SS"); VB maps
    // unit by unit and keeps the length.
    QString out(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) out[i] = s[i].toUpper();
    return out;
}

}  // namespace vb
