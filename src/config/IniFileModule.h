#pragma once
// INI access for the initialisation: a section is read as an ordered list of
// name/value pairs, and values are taken by position. A value is read whole,
// whatever its length (a folder on a mounted share is long). The section's
// key-name list goes through a 128-character buffer of which the system is
// told 127, which limits that list to 127 characters: stored collections
// were read that way, so keys beyond it stay unread.

#include <QString>
#include <vector>

namespace config {

struct KeyValuePair {
    QString name;
    // The value whole. A short read (fewer than two characters: a missing
    // key, an empty value, a single character) gives the read buffer as it
    // was filled: the character, if any, then NULs up to 128 characters.
    // Conversions read up to the first NUL, so a single character converts
    // as itself; text properties keep the NULs, which name no file.
    QString value;
    // The read was short: where a value is needed, there is none.
    bool noValue = false;
};
using SectionList = std::vector<KeyValuePair>;

// Appends the section's pairs in file order to pairs (pairs that could be
// read are kept; none read leaves pairs as it was). False when the file or
// section is missing or empty; a run-time failure is logged as ERR038.
bool ReadSection(const QString& section, SectionList& pairs, const QString& iniPath);

// Writes one value; false when the system could not.
bool WriteKey(const QString& section, const QString& key, const QString& value, const QString& iniPath);

// The pair at a 1-based position; error 9 (Subscript out of range) when the
// section has no such position.
const KeyValuePair& PairAt(const SectionList& pairs, int position);

}  // namespace config
