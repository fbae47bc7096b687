#pragma once
// Where a write lands, and the one rule for the symbolic links on the way:
// a link in a sticky folder that everybody may write (/tmp and the like) is
// followed only when it belongs to the user or to the folder's owner. It is
// the kernel's protected_symlinks rule, kept by our own code because writers
// resolve links by hand (to replace a link's target rather than the link),
// where the kernel's rule does not reach, and because that rule may be off.
// A user's own links (a store file linked into a dotfiles folder) keep
// working; a link another user planted beside a file of ours is refused.

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/stat.h>

namespace platform {

// Whether this process may follow the link (its lstat facts) that lies in
// the folder (its stat facts).
bool MayFollowLink(const struct stat& link, const struct stat& folder);

// The absolute path a write to path lands on: every symbolic link on the way
// (the file's own and its folders') followed by the rule above, "." and ".."
// resolved, so the result holds no link as long as nobody changes the
// folders. Parts that do not exist yet are kept as they are. Open the result
// with O_NOFOLLOW (or create it with O_EXCL) so that a link planted after
// this look is not followed either. nullopt with the reason in *why
// ("goes through a symbolic link ...", said of the file) otherwise.
std::optional<QByteArray> WriteTarget(const QByteArray& path, QString* why = nullptr);

}  // namespace platform
