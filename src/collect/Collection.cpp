#include "collect/Collection.h"

#include <QFile>
#include <algorithm>

#include "platform/system/WriteTarget.h"

namespace collect {

namespace {

const QString kZor = QStringLiteral("ZOR");
constexpr int kMoviesInGroupPosition = 6;
constexpr int kFormatMarkPosition = 5;

QString EntrySection(int n, const QString& suffix) { return QStringLiteral("Movie%1%2").arg(n).arg(suffix); }

}  // namespace

// The lock is the user's own (TargetLock), not one on the file, which
// anybody who may read the file could hold.
std::optional<Collection> Collection::Open(const QString& path, bool mayBeNew, QString* why) {
    // A link refused for the save is refused before a long probe of clips.
    const std::optional<QByteArray> target = platform::WriteTarget(QFile::encodeName(path), why);
    if (!target) return std::nullopt;
    auto lock = std::make_unique<platform::TargetLock>(*target, platform::TargetLock::Purpose::Edit,
                                                       std::chrono::milliseconds(0));
    if (lock->state() == platform::TargetLock::State::Failed) {
        *why = QStringLiteral("another ZORCollect run is changing it; try again when it has finished");
        return std::nullopt;
    }
    std::optional<platform::profile::ProfileFile> file = platform::profile::ProfileFile::Read(path, why);
    if (!file) return std::nullopt;
    if (!file->existed() && !mayBeNew) {
        *why = QStringLiteral("no such file");
        return std::nullopt;
    }
    Collection collection(std::move(*file), std::move(lock));
    if (collection.Exists() && !mayBeNew) {
        const platform::profile::ProfileDocument& names = collection.file_.document();
        const qint32 s = names.FindSection(kZor);
        const bool marked = s >= 0 && names.section(s).keyCount >= kFormatMarkPosition &&
                            names.View(names.key(names.section(s).firstKey + kFormatMarkPosition - 1).name) ==
                                QStringLiteral("DefaultStartupVid");
        if (!marked) {
            *why = QStringLiteral("not a collection file: its [ZOR] section has no DefaultStartupVid key fifth");
            return std::nullopt;
        }
    }
    return collection;
}

int Collection::Count() const {
    const QStringList zor = file_.Values(kZor);
    if (zor.size() < kMoviesInGroupPosition) return 0;
    bool ok = false;
    const int count = zor[kMoviesInGroupPosition - 1].trimmed().toInt(&ok);
    return ok && count > 0 ? count : 0;
}

QString Collection::Disagreement() const {
    int found = 0;
    while (found < 32767 && file_.HasSection(EntrySection(found + 1, EntrySuffixes().front()))) ++found;
    const int count = Count();
    for (int n = 1; n <= std::min(found, count); ++n)
        for (const QString& suffix : EntrySuffixes())
            if (!file_.HasSection(EntrySection(n, suffix)))
                return QStringLiteral("entry %1 has no [%2] section").arg(n).arg(EntrySection(n, suffix));
    if (found == count) return {};
    return QStringLiteral("MoviesInGroup says %1 entries, but the file has sections for %2").arg(count).arg(found);
}

QStringList Collection::Values(int n, const QString& suffix) const { return file_.Values(EntrySection(n, suffix)); }

void Collection::SetCount(int count) { file_.SetValue(kZor, QStringLiteral("MoviesInGroup"), QString::number(count)); }

void Collection::MakeNew(const CollectionSettings& settings) {
    const auto line = [](const char* key, const QString& value) { return QString::fromLatin1(key) + u'=' + value; };
    file_.AppendSections({
        {QStringLiteral("User"),
         {line("UserName", "Unknown"), line("Organisation", "Unknown"), line("ReplyTo", ""), line("EMail", "Unknown")}},
        {kZor,
         {line("Version", "1.0"), line("RunAs", settings.runAs), line("ErrorLog", *ValueText(settings.errorLog)),
          line("Skin", ""), line("DefaultStartupVid", ""), line("MoviesInGroup", "0"), line("LoopCol", "False"),
          line("DelayTimer", QString::number(settings.pageSeconds)),
          line("StillDelayTimer", QString::number(settings.stillSeconds))}},
    });
}

void Collection::Append(const std::vector<NewEntry>& entries, const EntryOptions& options) {
    std::vector<Section> sections;
    int n = Count();
    for (const NewEntry& entry : entries)
        for (Section& section : EntrySections(++n, entry, options)) sections.push_back(std::move(section));
    file_.AppendSections(sections);
    SetCount(n);
}

void Collection::Renumber(const std::vector<std::pair<int, int>>& moves) {
    std::map<QString, QString> names;
    for (const auto& [from, to] : moves)
        for (const QString& suffix : EntrySuffixes()) names[EntrySection(from, suffix)] = EntrySection(to, suffix);
    file_.RenameSections(names);
}

void Collection::Move(int from, int to) {
    std::vector<std::pair<int, int>> moves{{from, to}};
    const int step = from < to ? -1 : 1;
    for (int n = std::min(from, to); n <= std::max(from, to); ++n)
        if (n != from) moves.emplace_back(n, n + step);
    Renumber(moves);
}

void Collection::Remove(std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    for (const int n : numbers)
        for (const QString& suffix : EntrySuffixes()) file_.RemoveSection(EntrySection(n, suffix));
    std::vector<std::pair<int, int>> moves;
    const int count = Count();
    int next = 1;
    for (int n = 1; n <= count; ++n)
        if (!std::binary_search(numbers.begin(), numbers.end(), n)) {
            if (n != next) moves.emplace_back(n, next);
            ++next;
        }
    Renumber(moves);
    SetCount(next - 1);
}

}  // namespace collect
