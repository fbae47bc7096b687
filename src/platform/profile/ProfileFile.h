#pragma once
// An INI file read whole for a series of edits and written back once: for
// tools that change many keys and sections at a time. The text rules are
// those of WritePrivateProfileString (names without their surrounding
// spaces, the file's encoding and line endings, every untouched line kept
// byte for byte) and so is the atomic replacement.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileText.h"

namespace platform::profile {

class ProfileFile {
public:
    // A regular file of at most kMaxProfileBytes; a missing one opens
    // empty (and is made as UTF-8). nullopt with the reason otherwise.
    static std::optional<ProfileFile> Read(const QString& path, QString* why);

    const QString& path() const { return path_; }
    bool existed() const { return existed_; }
    const ProfileDocument& document() const { return document_; }

    // The values of the section's keys in file order (the loader reads by
    // position); empty when the section is missing.
    QStringList Values(QStringView section) const;
    bool HasSection(QStringView section) const { return document_.FindSection(section) >= 0; }

    void SetValue(QStringView section, QStringView key, QStringView value);
    // Removes the header and key lines of the section (comments stay).
    void RemoveSection(QStringView section);
    // Renames the first section of each name in one pass; only the names
    // inside the header lines change.
    void RenameSections(const std::map<QString, QString>& names);
    // Appends whole sections: each is a name and its key lines ("key=value").
    void AppendSections(const std::vector<std::pair<QString, QStringList>>& sections);

    // Replaces the file atomically, under the lock every writer of the file
    // takes, and only when the file still holds what Read found: a change
    // another program made since (a write-back of the show) is not
    // overwritten. false with the reason.
    bool Write(QString* why) const;
    // Whether the file's encoding can hold the text exactly.
    bool CanHold(QStringView text) const;

private:
    void Reparse(QString&& text) { document_ = ProfileDocument::Parse(std::move(text)); }
    QStringView LineEnding() const;

    QString path_;
    bool existed_ = false;
    QByteArray read_;  // the bytes Read found
    TextEncoding encoding_ = TextEncoding::Utf8;
    ProfileDocument document_;
};

}  // namespace platform::profile
