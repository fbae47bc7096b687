#include "platform/profile/ProfileDocument.h"

#include <algorithm>

#include "platform/profile/NameMatch.h"
#include "platform/profile/ProfileLine.h"

namespace platform::profile {
namespace {

// Sections up to this size are searched by comparing the stored name
// hashes of their keys in order: their records lie side by side, which
// beats a probe into a table spread over the whole file. Larger ones go
// through the key index.
constexpr qint32 kScannedKeys = 16;

// One table holds the keys of every large section, so a key's hash is
// mixed with its section's number (MurmurHash3's finaliser).
std::size_t KeySlotHash(quint32 nameHash, qint32 section) {
    quint64 h = quint64(nameHash) << 32 | quint32(section);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return std::size_t(h ^ (h >> 33));
}

TextRange RangeOf(QStringView part, const QChar* base) {
    return {quint32(part.data() - base), quint32(part.size())};
}

}  // namespace

ProfileDocument ProfileDocument::Parse(QStringView text) { return Parse(text.toString()); }

ProfileDocument ProfileDocument::Parse(QString&& text) {
    ProfileDocument doc;
    doc.text_ = std::move(text);
    const QStringView all = doc.text_;
    doc.Reserve();
    const QChar* base = all.data();
    ProfileSection* current = nullptr;  // lines before the first header belong to none
    for (qsizetype pos = 0; pos < all.size();) {
        const LineSpan span = LineAt(all, pos);
        const LineParts parts = ClassifyLine(all.sliced(span.start, span.contentEnd - span.start));
        switch (parts.kind) {
        case LineKind::Header:
            current = &doc.sections_.emplace_back(ProfileSection{
                RangeOf(parts.name, base), quint32(span.start), quint32(span.end),
                qint32(doc.keys_.size()), 0});
            break;
        case LineKind::Key:
            if (current) {
                doc.keys_.push_back({RangeOf(parts.name, base), RangeOf(parts.value, base),
                                     quint32(span.start), quint32(NameHash(parts.name))});
                ++current->keyCount;
                current->entriesEnd = quint32(span.end);
            }
            break;
        case LineKind::Text:
            if (current) current->entriesEnd = quint32(span.end);
            break;
        case LineKind::Blank:
        case LineKind::Comment:
            break;
        }
        pos = span.end;
    }
    doc.BuildIndexes();
    return doc;
}

// Growing the record arrays line by line costs more than the parse itself,
// so one pass first bounds their sizes: a key needs a line and an '=', a
// section a line and a '['.
void ProfileDocument::Reserve() {
    qsizetype lineBreaks = 0;
    qsizetype equals = 0;
    qsizetype brackets = 0;
    for (QChar c : QStringView(text_)) {
        lineBreaks += IsLineBreak(c);
        equals += c == u'=';
        brackets += c == u'[';
    }
    keys_.reserve(std::size_t(std::min(lineBreaks + 1, equals)));
    sections_.reserve(std::size_t(std::min(lineBreaks + 1, brackets)));
}

void ProfileDocument::BuildIndexes() {
    std::size_t indexedKeys = 0;
    for (const ProfileSection& s : sections_) {
        if (s.keyCount > kScannedKeys) indexedKeys += std::size_t(s.keyCount);
    }
    sectionIndex_ = NameIndex(sections_.size());
    keyIndex_ = NameIndex(indexedKeys);
    for (qint32 s = 0; s < qint32(sections_.size()); ++s) {
        const ProfileSection& section = sections_[std::size_t(s)];
        const QStringView name = View(section.name);
        const bool first = sectionIndex_.AddFirst(NameHash(name), s, [&](qint32 other) {
            return NamesEqual(View(sections_[std::size_t(other)].name), name);
        });
        sections_[std::size_t(s)].firstOfName = first;
        // Keys of a later copy of a section can never be looked up.
        if (!first || section.keyCount <= kScannedKeys) continue;
        for (qint32 k = section.firstKey; k < section.firstKey + section.keyCount; ++k) {
            const ProfileKey& key = keys_[std::size_t(k)];
            keyIndex_.AddFirst(KeySlotHash(key.nameHash, s), k, [&](qint32 other) {
                return NamesEqual(View(keys_[std::size_t(other)].name), View(key.name));
            });
        }
    }
}

qint32 ProfileDocument::FindSection(QStringView name, qint32 guess) const {
    if (guess >= 0 && guess < qint32(sections_.size())) {
        const ProfileSection& section = sections_[std::size_t(guess)];
        if (section.firstOfName && NamesEqual(View(section.name), name)) return guess;
    }
    return sectionIndex_.Find(NameHash(name), [&](qint32 s) {
        return NamesEqual(View(sections_[std::size_t(s)].name), name);
    });
}

qint32 ProfileDocument::FindKey(qint32 section, QStringView name) const {
    const ProfileSection& owner = sections_[std::size_t(section)];
    if (owner.keyCount <= kScannedKeys) {
        // Folding the name for its hash cost more than comparing the few
        // names of the same length.
        for (qint32 k = owner.firstKey; k < owner.firstKey + owner.keyCount; ++k) {
            const TextRange& key = keys_[std::size_t(k)].name;
            if (key.length == quint32(name.size()) && NamesEqual(View(key), name)) return k;
        }
        return -1;
    }
    const quint32 hash = quint32(NameHash(name));
    // The range check keeps a key of another section out even when the
    // index's 32-bit slot hashes collide.
    return keyIndex_.Find(KeySlotHash(hash, section), [&](qint32 k) {
        const ProfileKey& key = keys_[std::size_t(k)];
        return k >= owner.firstKey && k < owner.firstKey + owner.keyCount && key.nameHash == hash &&
               NamesEqual(View(key.name), name);
    });
}

}  // namespace platform::profile
