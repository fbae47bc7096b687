#include "platform/profile/NameMatch.h"

#include <QChar>
#include <QHashFunctions>
#include <QVarLengthArray>

namespace platform::profile {
namespace {

char16_t Fold(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
    return QChar::toCaseFolded(c);
}

}  // namespace

bool NamesEqual(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (pa[i] != pb[i] && Fold(pa[i]) != Fold(pb[i])) return false;
    }
    return true;
}

std::size_t NameHash(QStringView name) {
    QVarLengthArray<char16_t, 128> folded(name.size());
    const char16_t* in = name.utf16();
    for (qsizetype i = 0; i < name.size(); ++i) folded[i] = Fold(in[i]);
    return qHashBits(folded.constData(), std::size_t(folded.size()) * sizeof(char16_t),
                     qGlobalQHashSeed());
}

}  // namespace platform::profile
