#pragma once
// One line of an INI file: where it ends and what it holds. The parser and
// the editor both read lines through here, so they always agree on where a
// key's line starts and where its '=' is.

#include <QStringView>

namespace platform::profile {

// Space, tab and vertical tab, the blanks the file side ignores around
// names and values.
inline bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\v'; }
QStringView TrimBlanks(QStringView text);

inline bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Offsets into the text: the line's characters are [start, contentEnd), its
// line ending (CRLF, LF, CR or none at the end of the text) [contentEnd, end).
struct LineSpan {
    qsizetype start = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;
};
LineSpan LineAt(QStringView text, qsizetype start);

enum class LineKind {
    Blank,
    Comment,  // first non-blank character ';'
    Header,   // first non-blank character '['
    Key,      // has an '='
    Text,     // anything else; never a key
};

struct LineParts {
    LineKind kind = LineKind::Blank;
    QStringView name{};  // section name or key name, blanks trimmed
    QStringView value{};  // key value, blanks trimmed and one pair of outer quotes removed
    qsizetype equalsAt = -1;  // index of the key's '=' within the line
};
// line is the content of one line, without its line ending.
LineParts ClassifyLine(QStringView line);

}  // namespace platform::profile
