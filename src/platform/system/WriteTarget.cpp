#include "platform/system/WriteTarget.h"

#include <QByteArrayList>
#include <climits>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit

// The parts of a path to walk, the first last, so the walk pops them.
void PushParts(QByteArrayList& todo, const QByteArray& path) {
    const QByteArrayList parts = path.split('/');
    for (auto part = parts.rbegin(); part != parts.rend(); ++part)
        if (!part->isEmpty() && *part != ".") todo.append(*part);
}

}  // namespace

bool MayFollowLink(const struct stat& link, const struct stat& folder) {
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

std::optional<QByteArray> WriteTarget(const QByteArray& path, QString* why) {
    const auto fail = [why](const QString& reason) {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (path.isEmpty() || path.contains('\0')) return fail(QStringLiteral("is no file name"));
    QByteArrayList todo;
    PushParts(todo, path);
    QByteArray done;  // resolved so far, without a link; "" is the root
    if (!path.startsWith('/')) {
        char cwd[PATH_MAX];
        if (!::getcwd(cwd, sizeof cwd)) return fail(QStringLiteral("has no current folder to be found in"));
        PushParts(todo, cwd);  // getcwd gives a path without links
    }
    int hops = 0;
    while (!todo.isEmpty()) {
        const QByteArray part = todo.takeLast();
        if (part == "..") {
            done.truncate(qMax<qsizetype>(done.lastIndexOf('/'), 0));
            continue;
        }
        const QByteArray next = done + '/' + part;
        struct stat facts {};
        if (::lstat(next.constData(), &facts) != 0) {
            // Missing (or out of reach): the rest is made or fails as it is.
            done = next;
            for (auto rest = todo.rbegin(); rest != todo.rend(); ++rest) done += '/' + *rest;
            return done;
        }
        if (!S_ISLNK(facts.st_mode)) {
            done = next;
            continue;
        }
        struct stat folder {};
        if (++hops > kMaxLinkHops || ::stat(done.isEmpty() ? "/" : done.constData(), &folder) != 0)
            return fail(QStringLiteral("goes through too many symbolic links"));
        if (!MayFollowLink(facts, folder)) {
            const QString link = hops == 1 && todo.isEmpty() ? QStringLiteral("is") : QStringLiteral("goes through %1,")
                                                                                          .arg(QString::fromLocal8Bit(next));
            return fail(link + QStringLiteral(" a symbolic link that another user made in a shared folder; it is not followed"));
        }
        QByteArray target(qMax<qsizetype>(facts.st_size, 255) + 1, '\0');
        const ssize_t length = ::readlink(next.constData(), target.data(), std::size_t(target.size()));
        if (length <= 0 || length == target.size()) return fail(QStringLiteral("goes through a link that cannot be read"));
        target.truncate(length);
        if (target.startsWith('/')) done.clear();
        PushParts(todo, target);
    }
    return done.isEmpty() ? QByteArray("/") : done;
}

}  // namespace platform
