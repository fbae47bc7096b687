#pragma once
// A collection file opened for changes by one run of the maker: locked
// against other runs for as long as the object lives, read whole, changed
// in memory and written back once, atomically.

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "collect/EntrySections.h"
#include "platform/profile/ProfileFile.h"
#include "platform/system/TargetLock.h"

namespace collect {

struct CollectionSettings {
    QString runAs = QStringLiteral("SCREENSAVER");
    int pageSeconds = 12;  // DelayTimer
    int stillSeconds = 5;  // StillDelayTimer
    QString errorLog;      // empty: the show's default
};

class Collection {
public:
    // nullopt with the reason: not a regular file, locked by another run,
    // or (unless it may be new) not a collection file.
    static std::optional<Collection> Open(const QString& path, bool mayBeNew, QString* why);
    Collection(Collection&& other) noexcept = default;
    Collection& operator=(Collection&&) = delete;

    bool Exists() const { return file_.existed(); }
    // MoviesInGroup, as the loader reads it (p6 of [ZOR]).
    int Count() const;
    // Why MoviesInGroup and the entry sections disagree; empty when they agree.
    QString Disagreement() const;
    // The values of entry n's section in key order ("Main", "Audio", ...).
    QStringList Values(int n, const QString& suffix) const;
    bool CanHold(const QString& text) const { return file_.CanHold(text); }

    void MakeNew(const CollectionSettings& settings);
    void Append(const std::vector<NewEntry>& entries, const EntryOptions& options);
    // Moves entry from to position to (1-based), the others moving up or down.
    void Move(int from, int to);
    // Removes the entries (1-based, each at most once); the rest close up.
    void Remove(std::vector<int> numbers);

    bool Save(QString* why) const { return file_.Write(why); }

private:
    Collection(platform::profile::ProfileFile file, std::unique_ptr<platform::TargetLock> lock)
        : file_(std::move(file)), lock_(std::move(lock)) {}
    void SetCount(int count);
    // Renames entries by the map old number -> new number.
    void Renumber(const std::vector<std::pair<int, int>>& moves);

    platform::profile::ProfileFile file_;
    std::unique_ptr<platform::TargetLock> lock_;
};

}  // namespace collect
