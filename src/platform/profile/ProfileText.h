#pragma once
// Text of INI files: UTF-8 when the bytes are valid UTF-8 (a UTF-8 byte
// order mark is kept aside), UTF-16LE after its byte order mark, otherwise
// Windows-1252, the code page of files made on Windows. Every byte
// sequence decodes and encodes back to the same bytes, so a write-back
// changes nothing beyond the edited line.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform::profile {

enum class TextEncoding { Utf8, Utf8WithBom, Utf16LE, Windows1252 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

DecodedText DecodeText(QByteArrayView bytes);
// Characters that the encoding cannot hold are written as "?".
QByteArray EncodeText(QStringView text, TextEncoding encoding);

}  // namespace platform::profile
