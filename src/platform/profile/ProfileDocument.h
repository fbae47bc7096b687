#pragma once
// The parsed form of an INI file's text: its sections and keys in file
// order, with what the lookups need. Only the first section of a name and
// the first key of a name in it can be found, as on Windows; later copies
// still count for the section list.
//
// Records hold 32-bit offsets into the document's own copy of the text
// (files are limited far below 4 Gi characters), which keeps a key at 24
// bytes however hostile the file.

#include <QString>
#include <QStringView>
#include <vector>

#include "platform/profile/NameIndex.h"

namespace platform::profile {

struct TextRange {
    quint32 start = 0;
    quint32 length = 0;
};

struct ProfileSection {
    TextRange name;
    quint32 headerStart = 0;  // offset of the header line
    // Offset just past the last line of the section that is neither blank
    // nor a comment (the header line itself when there is none): where a
    // new key goes.
    quint32 entriesEnd = 0;
    qint32 firstKey = 0;
    qint32 keyCount = 0;
    bool firstOfName = false;  // the one FindSection finds by its name
};

struct ProfileKey {
    TextRange name;
    TextRange value;
    quint32 lineStart = 0;
    quint32 nameHash = 0;
};

class ProfileDocument {
public:
    ProfileDocument() = default;  // the empty text
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;
    ProfileDocument(ProfileDocument&&) = default;
    ProfileDocument& operator=(ProfileDocument&&) = default;

    // text must be shorter than 2^32 characters. The document keeps its
    // own copy of the text; passing a QString by move spares the copy.
    static ProfileDocument Parse(QStringView text);
    static ProfileDocument Parse(QString&& text);

    const QString& text() const { return text_; }
    QStringView View(TextRange range) const {
        return QStringView(text_).sliced(range.start, range.length);
    }
    const std::vector<ProfileSection>& sections() const { return sections_; }
    const ProfileSection& section(qint32 index) const { return sections_[std::size_t(index)]; }
    const ProfileKey& key(qint32 index) const { return keys_[std::size_t(index)]; }

    // The first section with that name, or -1. The guess (any number) is
    // tried first: a file read section after section finds each next to
    // the last, where a search of the index costs a few cache misses.
    qint32 FindSection(QStringView name, qint32 guess = -1) const;
    // The first key with that name in section, or -1. section must come
    // from FindSection: large sections are indexed only in their first copy.
    qint32 FindKey(qint32 section, QStringView name) const;

private:
    void Reserve();
    void BuildIndexes();

    QString text_;
    std::vector<ProfileSection> sections_;
    std::vector<ProfileKey> keys_;
    NameIndex sectionIndex_;
    NameIndex keyIndex_;
};

}  // namespace platform::profile
