#include "collect/FolderWalk.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>
#include <utility>
#include <vector>
#include <sys/stat.h>

namespace collect {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

void Walk(const QString& folder, std::set<FolderId>& seen, const std::function<void(const WalkedFile&)>& found) {
    struct stat st {};
    const QByteArray encoded = QFile::encodeName(folder);
    if (::stat(encoded.constData(), &st) != 0) {
        found({folder, QString::fromLocal8Bit(std::strerror(errno))});
        return;
    }
    if (!seen.insert({st.st_dev, st.st_ino}).second) {
        found({folder, QStringLiteral("a folder already walked (a symbolic link loop)")});
        return;
    }
    DIR* dir = ::opendir(encoded.constData());
    if (!dir) {
        found({folder, QString::fromLocal8Bit(std::strerror(errno))});
        return;
    }
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (QFile::encodeName(name) == entry->d_name)
            names << name;
        else  // it could not be opened again by the name the collection would keep
            found({QFile::decodeName(encoded + '/' + entry->d_name), QStringLiteral("its name is not valid text in this system's encoding")});
    }
    ::closedir(dir);
    SortNaturally(names);
    for (const QString& name : names) {
        const QString path = folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
        struct stat item {};
        if (::stat(QFile::encodeName(path).constData(), &item) == 0 && S_ISDIR(item.st_mode))
            Walk(path, seen, found);
        else
            found({path, {}});
    }
}

}  // namespace

void SortNaturally(QStringList& names) {
    thread_local const QCollator collator = [] {
        QCollator made{QLocale(QLocale::English)};
        made.setNumericMode(true);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString& name : names) keyed.emplace_back(collator.sortKey(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i) names[i] = std::move(keyed[size_t(i)].second);
}

void WalkFolder(const QString& folder, const std::function<void(const WalkedFile&)>& found) {
    std::set<FolderId> seen;
    Walk(folder, seen, found);
}

}  // namespace collect
