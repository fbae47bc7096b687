#include "platform/resources/ResourceName.h"

#include <algorithm>

namespace platform {

std::optional<ResourceName> ResourceName::FromText(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    if (text.startsWith(u'#')) {
        const QStringView digits = QStringView(text).sliced(1);
        bool ok = false;
        const uint number = digits.toUInt(&ok, 10);
        const bool decimal = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return c >= u'0' && c <= u'9';
        });
        if (!ok || !decimal || number > 0xFFFF) return std::nullopt;
        return ResourceName{quint16(number), {}};
    }
    // One character at a time, as Windows upper-cases names (no ß to SS).
    QString upper = text;
    for (QChar& c : upper) c = c.toUpper();
    return ResourceName{std::nullopt, upper};
}

QString ResourceName::Text() const { return id ? QStringLiteral("#%1").arg(*id) : name; }

}  // namespace platform
