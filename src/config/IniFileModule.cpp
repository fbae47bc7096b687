#include "config/IniFileModule.h"

#include <QSet>

#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/vb/VbError.h"

namespace {

constexpr quint32 kBufferSizeGiven = kReadBufferLength - 1;

// The 128-character read buffer, filled with NULs afresh for every read.
// One buffer serves all reads: a collection is read with tens of thousands.
QString& NulBuffer() {
    static QString buffer(kReadBufferLength, QChar(u'\0'));
    buffer.fill(QChar(u'\0'));
    return buffer;
}

// A short read hands back the whole buffer: 128 NULs, or one character and
// 127 NULs. Equal buffers share one copy, so a collection of many entries
// does not hold thousands of identical 128-character texts.
QString Shared(const QString& buffer) {
    static QSet<QString> buffers;
    const auto it = buffers.constFind(buffer);
    return it != buffers.constEnd() ? *it : *buffers.insert(QString(buffer.constData(), buffer.size()));
}

}  // namespace

bool ReadSection(const QString& section, SectionList& pairs, const QString& iniPath) {
    return vb::OnError(
        [&] {
            bool result = true;
            QString names = NulBuffer();  // data() detaches it: ReadKey reuses the shared buffer
            if (platform::profile::GetPrivateProfileString(section, std::nullopt, u"", names.data(),
                                                           kBufferSizeGiven, iniPath) == 0)
                result = false;
            QStringView buffer = names;
            for (;;) {
                const qsizetype p = buffer.indexOf(QChar(u'\0')) + 1;
                if (p < 2) break;
                const QString name = buffer.left(p - 1).toString();
                pairs.push_back({name, ReadKey(section, name, iniPath)});
                buffer = buffer.mid(p);
            }
            return result;
        },
        [](const vb::VbError& e) {
            LogError(QStringLiteral("<<ERR038>> - Read GetSection Failure ") +
                         NumberAndDescription(e.number(), e.description()),
                     true);
            return false;
        });
}

QString ReadKey(const QString& section, const QString& key, const QString& iniPath) {
    QString& buffer = NulBuffer();
    const quint32 n =
        platform::profile::GetPrivateProfileString(section, key, u"", buffer.data(), kBufferSizeGiven, iniPath);
    if (n > 1) return buffer.left(static_cast<qsizetype>(n));
    return Shared(buffer);
}

bool WriteKey(const QString& section, const QString& key, const QString& value, const QString& iniPath) {
    return platform::profile::WritePrivateProfileString(section, key, value, iniPath);
}

const KeyValuePair& PairAt(const SectionList& pairs, int position) {
    if (position < 1 || static_cast<size_t>(position) > pairs.size()) vb::Raise(vb::ErrNum::SubscriptOutOfRange);
    return pairs[static_cast<size_t>(position - 1)];
}
