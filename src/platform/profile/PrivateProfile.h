#pragma once
// Private-profile (INI) files with the semantics of the Windows functions
// GetPrivateProfileStringA and WritePrivateProfileStringA. A std::nullopt
// argument stands for a NULL pointer (VB's vbNullString), which is how the
// key-name list and the section-name list are asked for and how a key or a
// section is deleted.
//
// Reads are served from a cache of the parsed file that is compared with
// the file's stat data at most once per tick of the coarse monotonic clock
// (a few milliseconds): a change by another writer is seen from the next
// tick on, our own writes at once. Writes keep every other byte of the file
// and replace it atomically; the writers of one file, in this process or
// another, take turns from their read to their rename (platform::LockedFile),
// so each starts from the other's result.

#include <QChar>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace platform::profile {

// Copies into buffer (size characters, as the caller allocated them) and
// returns the number of characters copied, not counting the closing NUL:
// - appName and keyName given: the value, cut to size-1 characters; the
//   default (trailing spaces removed) when the file, section or key is
//   missing or keyName is empty;
// - keyName nullopt: the key names of the section, each ended by a NUL, the
//   list ended by a second NUL; a list that does not fit is cut to size-2
//   characters and ended by two NULs, and size-2 is returned;
// - appName nullopt: the section names, in the same form.
// size 0 leaves the buffer untouched and returns 0.
quint32 GetPrivateProfileString(std::optional<QStringView> appName,
                                std::optional<QStringView> keyName,
                                QStringView defaultValue,
                                QChar* buffer,
                                quint32 size,
                                const QString& fileName);

// A whole section, as a read of its key names and then a read of each name
// listed would give it, from one look at the file: names receives what
// GetPrivateProfileString(appName, nullopt, defaultValue, names, size)
// gives, and each is called, in order, with each name listed (a view into
// names) and its value whole, whatever its length: what
// GetPrivateProfileString(appName, name, defaultValue, ...) gives with a
// buffer large enough (the views last for the call). Returns the count of
// the list. A missing section gives names the default, as the read of the
// list does, and calls each for nothing. A collection is read with tens of
// thousands of reads, and finding the file and the section for each cost
// more than the key's own lookup.
quint32 GetPrivateProfileSection(QStringView appName,
                                 QStringView defaultValue,
                                 QChar* names,
                                 quint32 size,
                                 const QString& fileName,
                                 const std::function<void(QStringView name, QStringView value)>& each);

// Creates the file, the section or the key when missing, or rewrites the
// one line of the key in place. value nullopt deletes the key; keyName
// nullopt deletes the section. Returns false (and leaves the file as it
// was) when the folder is missing, the file or folder is not writable, the
// disk is full, a link another user planted leads to it (platform::WriteTarget),
// or another copy keeps the file locked past platform::kWriteLockWait. All
// three nullopt flushes the cache of the file, so that a change made within
// the current clock tick is read; it returns false.
bool WritePrivateProfileString(std::optional<QStringView> appName,
                               std::optional<QStringView> keyName,
                               std::optional<QStringView> value,
                               const QString& fileName);

}  // namespace platform::profile
