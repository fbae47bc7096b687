#include "collect/Collection.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kZor = QStringLiteral("ZOR");
constexpr int kMoviesInGroupPosition = 6;
constexpr int kFormatMarkPosition = 5;
constexpr int kLockTries = 3;

QString EntrySection(int n, const QString& suffix) { return QStringLiteral("Movie%1%2").arg(n).arg(suffix); }

// The lock is on the file itself. A run that locked a file another run has
// since replaced holds the old one: it opens the new one and tries again.
int LockFile(const QByteArray& path, QString* why) {
    for (int tries = 0; tries < kLockTries; ++tries) {
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            if (errno == ENOENT) return -2;
            *why = QString::fromLocal8Bit(std::strerror(errno));
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            *why = QStringLiteral("another ZORCollect run is changing it; try again when it has finished");
            return -1;
        }
        struct stat held {}, now {};
        if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &now) == 0 && held.st_ino == now.st_ino &&
            held.st_dev == now.st_dev)
            return fd;
        ::close(fd);
    }
    *why = QStringLiteral("it keeps being replaced while it is opened");
    return -1;
}

}  // namespace

std::optional<Collection> Collection::Open(const QString& path, bool mayBeNew, QString* why) {
    const int fd = LockFile(QFile::encodeName(path), why);
    if (fd == -1) return std::nullopt;
    if (fd == -2 && !mayBeNew) {
        *why = QStringLiteral("no such file");
        return std::nullopt;
    }
    std::optional<platform::profile::ProfileFile> file = platform::profile::ProfileFile::Read(path, why);
    if (!file) {
        if (fd >= 0) ::close(fd);
        return std::nullopt;
    }
    Collection collection(std::move(*file), fd);
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

Collection::Collection(Collection&& other) noexcept
    : file_(std::move(other.file_)), lockFd_(std::exchange(other.lockFd_, -1)) {}

Collection::~Collection() {
    if (lockFd_ >= 0) ::close(lockFd_);
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
