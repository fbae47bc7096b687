#pragma once
// The text of a registry export file ("REGEDIT4" or "Windows Registry Editor
// Version 5.00"), read and changed in memory. Every line that a change does
// not touch keeps its characters, and the file keeps its encoding (UTF-8,
// UTF-8 with a byte-order mark, UTF-16LE with one, or Latin-1 where the
// bytes are not UTF-8) and its line ends.
//
// Key and value names compare without regard to case, as the registry's
// do. Where a key or a value appears more than once, the last one counts,
// as it does when such a file is imported.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform::registry {

enum class ValueType { String, Dword, Other };

struct RegValue {
    ValueType type = ValueType::Other;
    QString text;         // String
    quint32 number = 0;   // Dword
};

class RegFile {
public:
    // No bytes: a new, empty store. nullopt: the bytes are not a registry
    // export (no header line, binary data).
    static std::optional<RegFile> Parse(const QByteArray& bytes);

    // key: the full key name ("HKEY_CURRENT_USER\Control Panel\desktop");
    // name: the value's name, "" for the key's default value.
    std::optional<RegValue> Find(const QString& key, const QString& name) const;
    // Replaces the value, or adds it to the key (adding the key at the end).
    // False, and nothing changed, for a text the format cannot hold (a line
    // break) or a type other than String and Dword.
    bool Set(const QString& key, const QString& name, const RegValue& value);
    QByteArray Serialize() const;

private:
    enum class Encoding { Utf8, Utf8Bom, Utf16LeBom, Latin1 };
    struct Place {
        qsizetype keyEnd = -1;    // after the last line of the key's last appearance; -1: no such key
        qsizetype valueLine = -1; // the value's last line; -1: none
    };
    Place Locate(const QString& key, const QString& name) const;

    Encoding encoding_ = Encoding::Utf8;
    bool crlf_ = false;
    QStringList lines_;  // without their line ends
    bool finalNewline_ = true;
};

}  // namespace platform::registry
