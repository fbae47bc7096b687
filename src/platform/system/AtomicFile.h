#pragma once
// Replacing a file's content as a whole: the new bytes go to a temporary
// file in the same folder, which is flushed to disk and renamed over the
// original, so readers see the old or the new content and a failure
// (disk full, no permission) leaves the original as it was.
//
// Writers take turns: a LockedFile holds the user's write lock of the file's
// final target (TargetLock) from before the writer reads the file until its
// rename, so two writers of one file, in one process or two, cannot lose
// each other's change. Every replacement goes through one, and none follows
// a link that another user planted in a shared folder (WriteTarget).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

#include "platform/system/TargetLock.h"

namespace platform {

class LockedFile {
public:
    // path may be a symbolic link; its final target is locked and replaced
    // and the link stays, unless WriteTarget refuses a link on the way (then
    // not Usable, with its reason). Waits as TargetLock does. A temporary a killed
    // writer left beside the target is removed by the next Replace (see
    // HiddenTemporary).
    explicit LockedFile(const QByteArray& path);

    // True when the caller may read and replace the file: the lock is held,
    // or no lock can be had (writes stay atomic, but are not serialised).
    // False with reason(), said of the file ("goes through ...", "another
    // copy ... kept it locked ..."), otherwise.
    bool Usable() const;
    const QString& reason() const { return reason_; }

    // An existing file keeps its permission bits (and owner and group when
    // running as root); a new one gets newFileMode less the umask. Fails when
    // not Usable, when the folder is missing or not writable, or the file is
    // read-only, i.e. has no owner-write bit (checked on the bits, since
    // access() says yes to everything for root). When Usable and failing,
    // errno says why.
    bool Replace(QByteArrayView bytes, unsigned newFileMode = 0666) const;

private:
    std::optional<QByteArray> target_;
    std::unique_ptr<TargetLock> lock_;
    QString reason_;
};

// A replacement without a read before it: LockedFile(path).Replace(...).
bool ReplaceFileContent(const QByteArray& path, QByteArrayView bytes, unsigned newFileMode = 0666);

}  // namespace platform
