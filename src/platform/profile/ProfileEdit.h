#pragma once
// Edits of an INI text that touch only the lines concerned and keep every
// other character, line endings included. Section and key names come
// without their surrounding spaces; the value is written as given.

#include <QString>
#include <QStringView>
#include <optional>

#include "platform/profile/ProfileDocument.h"

namespace platform::profile {

// New lines follow the file's own convention: the first line ending in
// it, or CRLF as Windows writes when there is none yet.
QStringView LineEndingOf(QStringView text);

// Sets the value of the first key of that name in the first section of
// that name, adding the key, or the section at the end, when missing.
QString TextWithValue(const ProfileDocument& doc, QStringView section, QStringView key,
                      QStringView value);

// Remove the line of the key, or the header and the key lines of the
// section (its comments and other lines stay). nullopt when there is
// nothing to remove.
std::optional<QString> TextWithoutKey(const ProfileDocument& doc, QStringView section,
                                      QStringView key);
std::optional<QString> TextWithoutSection(const ProfileDocument& doc, QStringView section);

}  // namespace platform::profile
