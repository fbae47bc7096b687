#include "collect/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

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
    std::sort(names.begin(), names.end(), NaturalLess);
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

// Runs of digits compare as numbers, the text between them without regard
// to case; the locale plays no part, so the order is the same everywhere.
bool NaturalLess(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && a[endA].isDigit()) ++endA;
            while (endB < b.size() && b[endB].isDigit()) ++endB;
            QStringView x = QStringView(a).sliced(i, endA - i), y = QStringView(b).sliced(j, endB - j);
            while (x.size() > 1 && x.front() == u'0') x = x.sliced(1);
            while (y.size() > 1 && y.front() == u'0') y = y.sliced(1);
            if (x.size() != y.size()) return x.size() < y.size();
            if (const int order = x.compare(y); order != 0) return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y) return x < y;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    return a < b;  // names equal but for case or leading zeros still get one order
}

void WalkFolder(const QString& folder, const std::function<void(const WalkedFile&)>& found) {
    std::set<FolderId> seen;
    Walk(folder, seen, found);
}
