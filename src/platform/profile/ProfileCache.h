#pragma once
// Parsed INI files by path. A Load checks the file's stat data against the
// version parsed at most once per tick of the system's coarse clock (a few
// milliseconds), so a change by another writer or a deleted file is seen at
// the first call after the tick in which it happened. Within a tick a Load
// costs no system call: on this kind of machine a stat() costs more than
// ten lookups, and a collection is read with tens of thousands of them.
// Our own writes are seen at once; a Load with Check::Now compares the stat
// data whatever the tick.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <mutex>

#include "platform/profile/FileSnapshot.h"
#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileText.h"

namespace platform::profile {

struct LoadedProfile {
    FileState state = FileState::Missing;
    std::shared_ptr<const ProfileDocument> document{};  // set when Present
    TextEncoding encoding = TextEncoding::Utf8;
};

class ProfileCache {
public:
    static ProfileCache& Instance();

    enum class Check {
        OncePerTick,  // reads
        Now,          // a write under the file's lock: it must start from the current content
    };
    LoadedProfile Load(const QString& fileName, Check check = Check::OncePerTick);
    // Records bytes just written to the file as its content.
    void Remember(const QString& fileName, const QByteArray& bytes);
    // Drops what is kept of the file: the next Load reads it.
    void Forget(const QString& fileName);

private:
    struct Entry {
        QByteArray path;
        FileStamp stamp{};
        bool settled = false;
        qint64 checkedTick = -1;  // the coarse clock when the stamp was last compared
        std::size_t contentHash = 0;
        LoadedProfile profile{};
    };

    void MakeRoom();  // before an entry is added
    static LoadedProfile Parsed(QByteArray bytes);
    static std::size_t ContentHash(const QByteArray& bytes);

    std::mutex mutex_;
    QHash<QString, Entry> entries_;
};

}  // namespace platform::profile
