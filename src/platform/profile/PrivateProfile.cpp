#include "platform/profile/PrivateProfile.h"

#include <QFile>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/system/AtomicFile.h"
#include "platform/profile/ProfileBuffer.h"
#include "platform/profile/ProfileCache.h"
#include "platform/profile/ProfileEdit.h"

namespace platform::profile {
namespace {

// Only U+0020 is stripped from name parameters; a tab stays part of the name.
QStringView TrimSpaces(QStringView name) {
    while (!name.isEmpty() && name.front() == u' ') name = name.sliced(1);
    while (!name.isEmpty() && name.back() == u' ') name.chop(1);
    return name;
}

QStringView TrimTrailingSpaces(QStringView text) {
    while (!text.isEmpty() && text.back() == u' ') text.chop(1);
    return text;
}

std::vector<QStringView> SectionNames(const ProfileDocument& doc) {
    std::vector<QStringView> names;
    names.reserve(doc.sections().size());
    for (const ProfileSection& section : doc.sections()) names.push_back(doc.View(section.name));
    return names;
}

std::vector<QStringView> KeyNames(const ProfileDocument& doc, qint32 section) {
    const ProfileSection& owner = doc.section(section);
    std::vector<QStringView> names;
    names.reserve(std::size_t(owner.keyCount));
    for (qint32 k = owner.firstKey; k < owner.firstKey + owner.keyCount; ++k) {
        names.push_back(doc.View(doc.key(k).name));
    }
    return names;
}

const ProfileDocument& DocumentOf(const LoadedProfile& profile) {
    static const ProfileDocument kEmpty;
    return profile.document ? *profile.document : kEmpty;
}

// Lets this process's threads queue for the file lock without polling it.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

// One key of a section found in a document: its value, or the fallback.
QStringView ValueOf(const ProfileDocument& doc, qint32 section, QStringView keyName, QStringView fallback) {
    const QStringView key = TrimSpaces(keyName);
    const qint32 found = key.isEmpty() ? -1 : doc.FindKey(section, key);
    return found < 0 ? fallback : doc.View(doc.key(found).value);
}

}  // namespace

quint32 GetPrivateProfileString(std::optional<QStringView> appName,
                                std::optional<QStringView> keyName,
                                QStringView defaultValue,
                                QChar* buffer,
                                quint32 size,
                                const QString& fileName) {
    if (size == 0) return 0;
    const LoadedProfile profile = ProfileCache::Instance().Load(fileName);
    const ProfileDocument& doc = DocumentOf(profile);
    const QStringView fallback = TrimTrailingSpaces(defaultValue);

    if (!appName) return CopyNameList(SectionNames(doc), buffer, size);
    const qint32 section = doc.FindSection(TrimSpaces(*appName));
    if (section < 0) return CopyValue(fallback, buffer, size);
    if (!keyName) return CopyNameList(KeyNames(doc, section), buffer, size);
    return CopyValue(ValueOf(doc, section, *keyName, fallback), buffer, size);
}

quint32 GetPrivateProfileSection(QStringView appName,
                                 QStringView defaultValue,
                                 QChar* names,
                                 quint32 size,
                                 const QString& fileName,
                                 const std::function<void(QStringView name, QStringView value)>& each) {
    if (size == 0) return 0;
    const LoadedProfile profile = ProfileCache::Instance().Load(fileName);
    const ProfileDocument& doc = DocumentOf(profile);
    const QStringView fallback = TrimTrailingSpaces(defaultValue);
    // A collection is read entry after entry: the section after the one
    // read last is tried first (in whatever document: a guess is checked).
    thread_local qint32 next = -1;
    const qint32 section = doc.FindSection(TrimSpaces(appName), next);
    next = section + 1;
    if (section < 0) return CopyValue(fallback, names, size);
    const quint32 listed = CopyNameList(KeyNames(doc, section), names, size);
    if (size < 2) return listed;  // no list was written
    // The list ends with an empty name (two NULs), also when it was cut.
    for (QStringView rest(names, size);;) {
        const qsizetype end = rest.indexOf(QChar(0));
        if (end <= 0) break;
        const QStringView name = rest.first(end);
        each(name, ValueOf(doc, section, name, fallback));
        rest = rest.sliced(end + 1);
    }
    return listed;
}

bool WritePrivateProfileString(std::optional<QStringView> appName,
                               std::optional<QStringView> keyName,
                               std::optional<QStringView> value,
                               const QString& fileName) {
    if (!appName) {
        // All three missing flushes the cache: the next read reads the file.
        if (!keyName && !value) ProfileCache::Instance().Forget(fileName);
        return false;
    }
    const QStringView section = TrimSpaces(*appName);
    const std::lock_guard lock(WriteMutex());
    const LockedFile file(QFile::encodeName(fileName));
    if (!file.Usable()) return false;
    ProfileCache& cache = ProfileCache::Instance();
    const LoadedProfile profile = cache.Load(fileName, ProfileCache::Check::Now);
    if (profile.state == FileState::Unreadable) return false;
    const ProfileDocument& doc = DocumentOf(profile);

    std::optional<QString> text;
    if (!keyName) {
        text = TextWithoutSection(doc, section);
    } else if (!value) {
        text = TextWithoutKey(doc, section, TrimSpaces(*keyName));
    } else {
        text = TextWithValue(doc, section, TrimSpaces(*keyName), *value);
    }
    if (!text) return true;  // nothing to delete is not an error

    // A new file is UTF-8 without a byte order mark.
    const QByteArray bytes = EncodeText(*text, profile.document ? profile.encoding : TextEncoding::Utf8);
    if (!file.Replace(bytes)) return false;
    cache.Remember(fileName, bytes);
    return true;
}

}  // namespace platform::profile
