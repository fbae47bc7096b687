#include "config/IniFileModule.h"

#include <QHash>
#include <utility>

#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/vb/VbError.h"

using namespace errors;

namespace config {

namespace {

// Characters in the key-name buffer, and in the text of a short read.
constexpr int kReadBufferLength = 128;
constexpr quint32 kBufferSizeGiven = kReadBufferLength - 1;

// The key-name buffer of 128 characters. A list read writes its names, each
// ended by a NUL, and one more NUL, and nothing past them is taken from the
// buffer, so it serves every read without being cleared: a collection is
// read with tens of thousands of reads, and clearing cost more than the
// lookups. The last character is never written and stays NUL.
QChar* NamesBuffer() {
    static QString buffer(kReadBufferLength, QChar(u'\0'));
    return buffer.data();
}

// A short read: the character read (none: a NUL) and 127 NULs. Equal texts
// share one copy, so a collection of many entries does not hold thousands
// of identical 128-character texts.
QString ShortRead(QChar first) {
    static QHash<char16_t, QString> buffers;
    auto it = buffers.constFind(first.unicode());
    if (it == buffers.constEnd()) {
        QString buffer(kReadBufferLength, QChar(u'\0'));
        buffer[0] = first;
        it = buffers.insert(first.unicode(), buffer);
    }
    return *it;
}

KeyValuePair PairRead(QStringView name, QStringView value) {
    if (value.size() > 1) return {name.toString(), value.toString(), false};
    return {name.toString(), ShortRead(value.isEmpty() ? QChar(u'\0') : value.front()), true};
}

// The names of a list read into buffer: each ended by a NUL, up to an empty one.
size_t NamesListed(QStringView buffer) {
    size_t names = 0;
    for (qsizetype start = 0, end = 0; (end = buffer.indexOf(QChar(u'\0'), start)) > start; start = end + 1) ++names;
    return names;
}

}  // namespace

bool ReadSection(const QString& section, SectionList& pairs, const QString& iniPath) {
    return vb::OnError(
        [&] {
            QChar* names = NamesBuffer();
            bool first = true;
            const quint32 listed = platform::profile::GetPrivateProfileSection(
                section, u"", names, kBufferSizeGiven, iniPath, [&](QStringView name, QStringView value) {
                    // The whole list is in names by now: room for all its pairs at once.
                    if (std::exchange(first, false))
                        pairs.reserve(pairs.size() + NamesListed(QStringView(names, kReadBufferLength)));
                    pairs.push_back(PairRead(name, value));
                });
            return listed != 0;
        },
        [](const vb::VbError& e) {
            LogError(QStringLiteral("<<ERR038>> - Read GetSection Failure ") +
                         NumberAndDescription(e.number(), e.description()),
                     true);
            return false;
        });
}

bool WriteKey(const QString& section, const QString& key, const QString& value, const QString& iniPath) {
    return platform::profile::WritePrivateProfileString(section, key, value, iniPath);
}

const KeyValuePair& PairAt(const SectionList& pairs, int position) {
    if (position < 1 || static_cast<size_t>(position) > pairs.size()) vb::Raise(vb::ErrNum::SubscriptOutOfRange);
    return pairs[static_cast<size_t>(position - 1)];
}

}  // namespace config
