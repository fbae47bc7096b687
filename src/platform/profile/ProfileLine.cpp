#include "platform/profile/ProfileLine.h"

namespace platform::profile {
namespace {

QStringView WithoutOuterQuotes(QStringView value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\'')) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

}  // namespace

QStringView TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}

LineSpan LineAt(QStringView text, qsizetype start) {
    LineSpan span{start, start, start};
    const QChar* data = text.data();
    const qsizetype size = text.size();
    qsizetype i = start;
    while (i < size && !IsLineBreak(data[i])) ++i;
    span.contentEnd = i;
    if (i < size) i += (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n') ? 2 : 1;
    span.end = i;
    return span;
}

LineParts ClassifyLine(QStringView line) {
    const QStringView body = TrimBlanks(line);
    if (body.isEmpty()) return {};
    if (body.front() == u';') return {.kind = LineKind::Comment};
    if (body.front() == u'[') {
        // The name ends at the first ']' or, without one, at the end of the
        // line; whatever follows the ']' is ignored.
        QStringView name = body.sliced(1);
        const qsizetype close = name.indexOf(u']');
        if (close >= 0) name.truncate(close);
        return {.kind = LineKind::Header, .name = TrimBlanks(name)};
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0) return {.kind = LineKind::Text};
    return {.kind = LineKind::Key,
            .name = TrimBlanks(line.first(equals)),
            .value = WithoutOuterQuotes(TrimBlanks(line.sliced(equals + 1))),
            .equalsAt = equals};
}

}  // namespace platform::profile
