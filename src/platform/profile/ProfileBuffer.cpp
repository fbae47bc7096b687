#include "platform/profile/ProfileBuffer.h"

#include <algorithm>

namespace platform::profile {
namespace {

// Writes the first limit characters of the NUL-separated list.
void WriteListPrefix(const std::vector<QStringView>& names, QChar* buffer, quint64 limit) {
    quint64 pos = 0;
    for (QStringView name : names) {
        const quint64 take = std::min<quint64>(quint64(name.size()), limit - pos);
        std::copy_n(name.data(), take, buffer + pos);
        pos += take;
        if (pos == limit) return;
        buffer[pos++] = QChar(0);
        if (pos == limit) return;
    }
}

}  // namespace

quint32 CopyValue(QStringView value, QChar* buffer, quint32 size) {
    if (size == 0) return 0;
    const quint32 count = quint32(std::min<quint64>(quint64(value.size()), size - 1));
    std::copy_n(value.data(), count, buffer);
    buffer[count] = QChar(0);
    return count;
}

quint32 CopyNameList(const std::vector<QStringView>& names, QChar* buffer, quint32 size) {
    if (size < 2) return 0;
    quint64 length = 0;
    for (QStringView name : names) length += quint64(name.size()) + 1;
    if (length + 2 <= size) {
        WriteListPrefix(names, buffer, length);
        buffer[length] = QChar(0);
        return quint32(length);
    }
    WriteListPrefix(names, buffer, size - 2);
    buffer[size - 2] = QChar(0);
    buffer[size - 1] = QChar(0);
    return size - 2;
}

}  // namespace platform::profile
