#pragma once
// Shared by the profile tests: literals with embedded NULs, and a read
// that shows exactly what the call left in the buffer.

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/profile/PrivateProfile.h"

namespace profiletest {

// u"a\0b" keeps its NUL, unlike a plain QString conversion, and a leading
// U+FEFF stays text (QString::fromUtf16 would take it for a byte order mark).
template <std::size_t N>
QString Text(const char16_t (&literal)[N]) {
    return QString(reinterpret_cast<const QChar*>(literal), N - 1);
}

template <std::size_t N>
QByteArray Bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

inline std::optional<QStringView> Arg(const std::optional<QString>& text) {
    return text ? std::optional<QStringView>(*text) : std::nullopt;
}

// The characters the call returned plus the NUL that must follow them, so
// one comparison checks the content, the count and the terminator.
inline QString ReadReturned(const std::optional<QString>& app, const std::optional<QString>& key,
                            const QString& defaultValue, const QString& file, quint32 size = 256) {
    std::vector<QChar> buffer(std::max<quint32>(size, 1), QChar(u'#'));
    const quint32 returned =
        platform::profile::GetPrivateProfileString(Arg(app), Arg(key), defaultValue, buffer.data(), size, file);
    return QString(buffer.data(), qsizetype(std::min<quint64>(quint64(returned) + 1, buffer.size())));
}

}  // namespace profiletest
