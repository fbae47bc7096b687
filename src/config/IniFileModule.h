#pragma once
// INI access for the initialisation: a section is read as an ordered list of
// name/value pairs, and values are taken by position. Every read goes
// through a 128-character buffer of which the system is told 127, which
// limits a section's key-name list to 127 characters and a value to 126.

#include <QString>
#include <vector>

// Characters in the read buffer; the system is told one less.
constexpr int kReadBufferLength = 128;
// The longest value a read gives whole. A value read at this length may
// have been cut from a longer one.
constexpr int kLongestReadValue = kReadBufferLength - 2;

struct KeyValuePair {
    QString name;
    QString value;
};
using SectionList = std::vector<KeyValuePair>;

// Appends the section's pairs in file order to pairs (pairs that could be
// read are kept; none read leaves pairs as it was). False when the file or
// section is missing or empty; a run-time failure is logged as ERR038.
bool ReadSection(const QString& section, SectionList& pairs, const QString& iniPath);

// The value, or the whole 128-character buffer when the system copied fewer
// than two characters: 128 NULs for a missing key or an empty value, the
// character and 127 NULs for a one-character value.
QString ReadKey(const QString& section, const QString& key, const QString& iniPath);

// Writes one value; false when the system could not.
bool WriteKey(const QString& section, const QString& key, const QString& value, const QString& iniPath);

// The pair at a 1-based position; error 9 (Subscript out of range) when the
// section has no such position.
const KeyValuePair& PairAt(const SectionList& pairs, int position);
