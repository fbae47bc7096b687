#include "platform/profile/ProfileEdit.h"

#include "platform/profile/ProfileLine.h"

namespace platform::profile {
namespace {

bool EndsWithLineBreak(QStringView text) { return !text.isEmpty() && IsLineBreak(text.back()); }

QString Joined(std::initializer_list<QStringView> parts) {
    qsizetype size = 0;
    for (QStringView part : parts) size += part.size();
    QString out;
    out.reserve(size);
    for (QStringView part : parts) out.append(part);
    return out;
}

}  // namespace

QStringView LineEndingOf(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') return u"\n";
        if (text[i] == u'\r') return (i + 1 < text.size() && text[i + 1] == u'\n') ? u"\r\n" : u"\r";
    }
    return u"\r\n";
}

QString TextWithValue(const ProfileDocument& doc, QStringView section, QStringView key,
                      QStringView value) {
    const QStringView text = doc.text();
    const QStringView eol = LineEndingOf(text);
    const qint32 s = doc.FindSection(section);
    if (s < 0) {
        const QStringView gap = (text.isEmpty() || EndsWithLineBreak(text)) ? u"" : eol;
        return Joined({text, gap, u"[", section, u"]", eol, key, u"=", value, eol});
    }
    const qint32 k = doc.FindKey(s, key);
    if (k >= 0) {
        // Everything up to the '=' stays, so the key keeps its spelling and
        // indentation; a last line without an ending gets one.
        const LineSpan span = LineAt(text, doc.key(k).lineStart);
        const LineParts parts = ClassifyLine(text.sliced(span.start, span.contentEnd - span.start));
        const qsizetype valueStart = span.start + parts.equalsAt + 1;
        const QStringView ending = span.contentEnd == span.end ? eol : u"";
        return Joined({text.first(valueStart), value, ending, text.sliced(span.contentEnd)});
    }
    const qsizetype at = doc.section(s).entriesEnd;
    const QStringView gap = EndsWithLineBreak(text.first(at)) ? u"" : eol;
    return Joined({text.first(at), gap, key, u"=", value, eol, text.sliced(at)});
}

std::optional<QString> TextWithoutKey(const ProfileDocument& doc, QStringView section,
                                      QStringView key) {
    const qint32 s = doc.FindSection(section);
    const qint32 k = s < 0 ? -1 : doc.FindKey(s, key);
    if (k < 0) return std::nullopt;
    const QStringView text = doc.text();
    const LineSpan span = LineAt(text, doc.key(k).lineStart);
    return Joined({text.first(span.start), text.sliced(span.end)});
}

std::optional<QString> TextWithoutSection(const ProfileDocument& doc, QStringView section) {
    const qint32 s = doc.FindSection(section);
    if (s < 0) return std::nullopt;
    const QStringView text = doc.text();
    const qsizetype headerStart = doc.section(s).headerStart;
    QString out;
    out.reserve(text.size());
    out.append(text.first(headerStart));
    qsizetype pos = LineAt(text, headerStart).end;
    while (pos < text.size()) {
        const LineSpan span = LineAt(text, pos);
        const LineKind kind = ClassifyLine(text.sliced(span.start, span.contentEnd - span.start)).kind;
        if (kind == LineKind::Header) break;
        if (kind != LineKind::Key) out.append(text.sliced(span.start, span.end - span.start));
        pos = span.end;
    }
    out.append(text.sliced(pos));
    return out;
}

}  // namespace platform::profile
