#include "config/IniFileModule.h"

#include <QHash>
#include <utility>

#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/vb/VbError.h"

namespace {

constexpr quint32 kBufferSizeGiven = kReadBufferLength - 1;

// A read buffer of 128 characters. A read writes its value and a NUL (a
// list: its names, each ended by a NUL, and one more NUL) and nothing past
// them, and nothing past that end is taken from the buffer, so a buffer
// serves every read without being cleared: a collection is read with tens
// of thousands of reads, and clearing cost more than the lookups. The last
// character is never written and stays NUL.
QChar* ReadBuffer(QString& buffer) {
    if (buffer.isEmpty()) buffer = QString(kReadBufferLength, QChar(u'\0'));
    return buffer.data();
}

// A short read gives the whole buffer as it was filled for the read: the
// character read (none: a NUL) and 127 NULs. Equal buffers share one copy,
// so a collection of many entries does not hold thousands of identical
// 128-character texts.
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

// What a read that copied count characters into buffer gives.
QString ValueRead(const QString& buffer, quint32 count) {
    if (count > 1) return buffer.left(static_cast<qsizetype>(count));
    return ShortRead(count == 1 ? buffer[0] : QChar(u'\0'));
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
            static QString names, value;
            bool first = true;
            const quint32 listed = platform::profile::GetPrivateProfileSection(
                section, u"", ReadBuffer(names), ReadBuffer(value), kBufferSizeGiven, iniPath,
                [&](QStringView name, quint32 count) {
                    // The whole list is in names by now: room for all its pairs at once.
                    if (std::exchange(first, false)) pairs.reserve(pairs.size() + NamesListed(names));
                    pairs.push_back({name.toString(), ValueRead(value, count)});
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

QString ReadKey(const QString& section, const QString& key, const QString& iniPath) {
    static QString buffer;
    const quint32 count = platform::profile::GetPrivateProfileString(section, key, u"", ReadBuffer(buffer),
                                                                     kBufferSizeGiven, iniPath);
    return ValueRead(buffer, count);
}

bool WriteKey(const QString& section, const QString& key, const QString& value, const QString& iniPath) {
    return platform::profile::WritePrivateProfileString(section, key, value, iniPath);
}

const KeyValuePair& PairAt(const SectionList& pairs, int position) {
    if (position < 1 || static_cast<size_t>(position) > pairs.size()) vb::Raise(vb::ErrNum::SubscriptOutOfRange);
    return pairs[static_cast<size_t>(position - 1)];
}
