#include "platform/profile/ProfileText.h"

#include <QStringDecoder>
#include <optional>

#include "platform/profile/Windows1252.h"

namespace platform::profile {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeBom[] = "\xFF\xFE";

// Qt's decoder flags overlong forms, encoded surrogates and other invalid
// sequences, which is what keeps a UTF-8 round trip byte-exact. A U+FEFF
// at the start is kept as a character: the byte order mark was taken off
// already, and a second one belongs to the text.
std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QString DecodeUtf16Le(QByteArrayView bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        *out++ = QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8)));
    }
    return text;
}

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes) *out++ = QChar(Windows1252ToUnicode(uchar(byte)));
    return text;
}

QByteArray EncodeUtf16Le(QStringView text) {
    QByteArray bytes(kUtf16LeBom);
    bytes.reserve(2 + text.size() * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray EncodeWindows1252(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = UnicodeToWindows1252(text[i].unicode());
        if (byte >= 0) {
            bytes.append(char(byte));
            continue;
        }
        // A character outside the BMP is one character, so one '?'.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        bytes.append('?');
    }
    return bytes;
}

}  // namespace

// Telling UTF-8 from the code page is a guess: code-page text that happens
// to be valid UTF-8 (such as "Ã©") reads as UTF-8. Settings files do not
// hold such pairs by accident.
DecodedText DecodeText(QByteArrayView bytes) {
    // An odd byte count cannot be UTF-16; such a file falls through to the
    // code page, which keeps every byte.
    if (bytes.startsWith(kUtf16LeBom) && bytes.size() % 2 == 0) {
        return {DecodeUtf16Le(bytes.sliced(2)), TextEncoding::Utf16LE};
    }
    if (bytes.startsWith(kUtf8Bom)) {
        if (auto text = DecodeUtf8(bytes.sliced(3))) return {*std::move(text), TextEncoding::Utf8WithBom};
    } else if (auto text = DecodeUtf8(bytes)) {
        return {*std::move(text), TextEncoding::Utf8};
    }
    return {DecodeWindows1252(bytes), TextEncoding::Windows1252};
}

QByteArray EncodeText(QStringView text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        // Qt writes a lone surrogate as '?'.
        return text.toUtf8();
    case TextEncoding::Utf8WithBom:
        return kUtf8Bom + text.toUtf8();
    case TextEncoding::Utf16LE:
        return EncodeUtf16Le(text);
    case TextEncoding::Windows1252:
        return EncodeWindows1252(text);
    }
    return {};
}

}  // namespace platform::profile
