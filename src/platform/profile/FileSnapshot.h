#pragma once
// Reading a file together with the stat data that identifies the version
// read, so a cache can tell later whether the file is still the same.

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <sys/stat.h>

namespace platform::profile {

// Device, inode, size, mtime and ctime: a rewrite in place changes the
// times, a replacement by rename changes the inode.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
};

// nullopt when the path cannot be stat'ed.
std::optional<FileStamp> StampOfPath(const QByteArray& path);

// Settings files are a few megabytes at most. Anything past 64 MiB is
// treated as unreadable (reads give the default, writes fail) rather than
// held in memory three times over (bytes, text, index).
constexpr qint64 kMaxProfileBytes = qint64(64) << 20;

enum class FileState { Missing, Unreadable, Present };

struct FileSnapshot {
    FileState state = FileState::Missing;
    QByteArray bytes;
    FileStamp stamp;
    // Timestamps only have the kernel's clock tick as resolution, so a
    // change within the tick of the last change leaves the stamp as it
    // was. A snapshot is settled when the file's times lie before the tick
    // in which reading began; only then does an unchanged stamp prove an
    // unchanged file. An unsettled snapshot has to be read again.
    bool settled = false;
};

// A regular file of at most maxBytes bytes is Present; anything else that
// exists is Unreadable.
FileSnapshot ReadFileSnapshot(const QByteArray& path, qint64 maxBytes);

}  // namespace platform::profile
