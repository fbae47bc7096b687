#include "platform/profile/ProfileCache.h"

#include <QFile>
#include <QHashFunctions>
#include <ctime>

namespace platform::profile {
namespace {

// A program reads one or two files; more entries are files it has left,
// which are dropped rather than kept parsed for the rest of the run.
constexpr qsizetype kMaxEntries = 8;

qint64 CoarseTick() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

ProfileCache& ProfileCache::Instance() {
    static ProfileCache cache;
    return cache;
}

LoadedProfile ProfileCache::Load(const QString& fileName, Check check) {
    const std::lock_guard lock(mutex_);
    const qint64 tick = CoarseTick();
    auto it = entries_.find(fileName);
    if (it != entries_.end() && it->settled) {
        if (it->checkedTick == tick && check == Check::OncePerTick) return it->profile;
        const std::optional<FileStamp> stamp = StampOfPath(it->path);
        if (stamp && *stamp == it->stamp) {
            it->checkedTick = tick;
            return it->profile;
        }
    }
    const QByteArray path = it != entries_.end() ? it->path : QFile::encodeName(fileName);
    FileSnapshot snapshot = ReadFileSnapshot(path, kMaxProfileBytes);
    if (snapshot.state != FileState::Present) {
        entries_.remove(fileName);
        return {.state = snapshot.state};
    }
    // A touched or unsettled file often still holds the bytes parsed last
    // time; the hash spares parsing them again.
    const std::size_t hash = ContentHash(snapshot.bytes);
    if (it == entries_.end()) {
        MakeRoom();
        it = entries_.insert(fileName, Entry{.path = path});
    }
    if (!it->profile.document || it->contentHash != hash) {
        it->profile = {};  // the old document goes before the new one is built
        it->profile = Parsed(std::move(snapshot.bytes));
    }
    it->stamp = snapshot.stamp;
    it->settled = snapshot.settled;
    it->checkedTick = tick;
    it->contentHash = hash;
    return it->profile;
}

void ProfileCache::Remember(const QString& fileName, const QByteArray& bytes) {
    const std::lock_guard lock(mutex_);
    const QByteArray path = QFile::encodeName(fileName);
    const std::optional<FileStamp> stamp = StampOfPath(path);
    if (!stamp) {
        entries_.remove(fileName);
        return;
    }
    // The rename that put the file in place stamped it within the current
    // tick, so this entry is unsettled: the next Load reads the file again
    // (and finds the same hash).
    if (!entries_.contains(fileName)) MakeRoom();
    entries_.insert(fileName, Entry{path, *stamp, false, -1, ContentHash(bytes), Parsed(bytes)});
}

void ProfileCache::Forget(const QString& fileName) {
    const std::lock_guard lock(mutex_);
    entries_.remove(fileName);
}

void ProfileCache::MakeRoom() {
    if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin());
}

LoadedProfile ProfileCache::Parsed(QByteArray bytes) {
    DecodedText decoded = DecodeText(bytes);
    bytes = {};  // lowers the peak for a big file
    return {FileState::Present,
            std::make_shared<const ProfileDocument>(ProfileDocument::Parse(std::move(decoded.text))),
            decoded.encoding};
}

std::size_t ProfileCache::ContentHash(const QByteArray& bytes) {
    return qHashBits(bytes.constData(), std::size_t(bytes.size()), qGlobalQHashSeed());
}

}  // namespace platform::profile
