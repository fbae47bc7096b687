#include "platform/registry/RegFile.h"

#include <QStringDecoder>
#include <algorithm>
#include <cctype>

namespace platform::registry {
namespace {

const QString kRegedit4 = QStringLiteral("REGEDIT4");
const QString kRegedit5 = QStringLiteral("Windows Registry Editor Version 5.00");
constexpr qsizetype kDwordDigits = 8;

bool SameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// "[key]" gives key; any other line nothing.
std::optional<QStringView> KeyOf(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']')) return std::nullopt;
    return trimmed.sliced(1, trimmed.size() - 2);
}

// A quoted text from at (on its opening quote); \\ and \" are escapes.
// Gives the text and moves at past the closing quote; nothing when the
// quote is not closed.
std::optional<QString> Quoted(QStringView line, qsizetype& at) {
    if (at >= line.size() || line[at] != u'"') return std::nullopt;
    QString text;
    for (qsizetype i = at + 1; i < line.size(); ++i) {
        if (line[i] == u'"') {
            at = i + 1;
            return text;
        }
        if (line[i] == u'\\' && i + 1 < line.size() && (line[i + 1] == u'\\' || line[i + 1] == u'"')) ++i;
        text += line[i];
    }
    return std::nullopt;
}

struct ValueLine {
    QString name;
    RegValue value;
};

std::optional<ValueLine> ParseValueLine(QStringView line) {
    line = line.trimmed();
    ValueLine result;
    qsizetype at = 0;
    if (line.startsWith(u'@')) {
        at = 1;
    } else {
        const auto name = Quoted(line, at);
        if (!name) return std::nullopt;
        result.name = *name;
    }
    if (at >= line.size() || line[at] != u'=') return std::nullopt;
    const QStringView data = line.sliced(at + 1).trimmed();
    if (data.startsWith(u'"')) {
        qsizetype end = 0;
        const auto text = Quoted(data, end);
        if (text && end == data.size()) result.value = {ValueType::String, *text, 0};
    } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QStringView digits = data.sliced(6);
        bool ok = false;
        const quint32 number = digits.toUInt(&ok, 16);
        // toUInt would also take "0x", spaces and a sign.
        const bool hexOnly = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); });
        if (ok && hexOnly && !digits.isEmpty() && digits.size() <= kDwordDigits) result.value = {ValueType::Dword, {}, number};
    }
    return result;  // anything else (hex:, hex(2):, a broken text) is another type
}

QString Escaped(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') out += u'\\';
        out += c;
    }
    return out;
}

QString FormatValue(const QString& name, const RegValue& value) {
    const QString left = name.isEmpty() ? QStringLiteral("@") : u'"' + Escaped(name) + u'"';
    if (value.type == ValueType::Dword) return left + QStringLiteral("=dword:%1").arg(value.number, 8, 16, QChar(u'0'));
    return left + QStringLiteral("=\"") + Escaped(value.text) + u'"';
}

bool ContinuesOnNextLine(QStringView line) { return line.trimmed().endsWith(u'\\'); }

}  // namespace

std::optional<RegFile> RegFile::Parse(const QByteArray& bytes) {
    RegFile file;
    if (bytes.isEmpty()) {
        file.lines_ = {kRegedit4, QString()};
        return file;
    }
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        file.encoding_ = Encoding::Utf16LeBom;
        auto decode = QStringDecoder(QStringDecoder::Utf16LE);
        text = decode(bytes.sliced(2));
        if (decode.hasError()) return std::nullopt;
    } else {
        const bool bom = bytes.startsWith("\xEF\xBB\xBF");
        const QByteArray body = bom ? bytes.sliced(3) : bytes;
        auto decode = QStringDecoder(QStringDecoder::Utf8);
        text = decode(body);
        if (!decode.hasError()) {
            file.encoding_ = bom ? Encoding::Utf8Bom : Encoding::Utf8;
        } else if (!bom) {
            file.encoding_ = Encoding::Latin1;
            text = QString::fromLatin1(body);
        } else {
            return std::nullopt;
        }
    }
    if (text.contains(QChar(u'\0'))) return std::nullopt;
    file.crlf_ = text.contains(QLatin1String("\r\n"));
    file.finalNewline_ = text.endsWith(u'\n');
    if (file.finalNewline_) text.chop(1);
    file.lines_ = text.split(u'\n');
    if (file.crlf_) {
        for (QString& line : file.lines_)
            if (line.endsWith(u'\r')) line.chop(1);
    }
    const QString header = file.lines_.first().trimmed();
    if (header != kRegedit4 && header != kRegedit5) return std::nullopt;
    return file;
}

RegFile::Place RegFile::Locate(const QString& key, const QString& name) const {
    Place place;
    bool inKey = false;
    for (qsizetype i = 1; i < lines_.size(); ++i) {
        const QStringView line = lines_[i];
        if (const auto k = KeyOf(line)) {
            inKey = SameName(*k, key);
            if (inKey) place.keyEnd = i + 1;
            continue;
        }
        if (!inKey) continue;
        if (!line.trimmed().isEmpty()) place.keyEnd = i + 1;
        if (const auto v = ParseValueLine(line); v && SameName(v->name, name)) place.valueLine = i;
    }
    return place;
}

std::optional<RegValue> RegFile::Find(const QString& key, const QString& name) const {
    const Place place = Locate(key, name);
    if (place.valueLine < 0) return std::nullopt;
    return ParseValueLine(lines_[place.valueLine])->value;
}

bool RegFile::Set(const QString& key, const QString& name, const RegValue& value) {
    if (value.type == ValueType::Other) return false;
    if (value.type == ValueType::String && (value.text.contains(u'\n') || value.text.contains(u'\r'))) return false;
    if (key.contains(u'\n') || key.contains(u'\r') || key.contains(u']') || name.contains(u'\n') || name.contains(u'\r'))
        return false;
    const QString line = FormatValue(name, value);
    const Place place = Locate(key, name);
    if (place.valueLine >= 0) {
        // A value written over several lines (hex data) goes as a whole.
        qsizetype last = place.valueLine;
        while (ContinuesOnNextLine(lines_[last]) && last + 1 < lines_.size()) ++last;
        lines_.remove(place.valueLine, last - place.valueLine + 1);
        lines_.insert(place.valueLine, line);
    } else if (place.keyEnd >= 0) {
        lines_.insert(place.keyEnd, line);
    } else {
        if (!lines_.last().trimmed().isEmpty()) lines_.append(QString());
        lines_.append(u'[' + key + u']');
        lines_.append(line);
        lines_.append(QString());
    }
    if (encoding_ == Encoding::Latin1) {
        for (const QChar c : line)
            if (c.unicode() > 0xFF) encoding_ = Encoding::Utf8;  // the new text needs it; other lines keep their characters
    }
    return true;
}

QByteArray RegFile::Serialize() const {
    QString text = lines_.join(crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    if (finalNewline_) text += crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n");
    switch (encoding_) {
    case Encoding::Utf16LeBom: {
        auto encode = QStringEncoder(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(encode(text));
    }
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Latin1:
        return text.toLatin1();
    case Encoding::Utf8:
        break;
    }
    return text.toUtf8();
}

}  // namespace platform::registry
