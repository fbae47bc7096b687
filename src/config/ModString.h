#pragma once

#include <QString>

namespace config {

// The last part of a file path: "C:\Movies\clip.avi", "\\Server\Share\clip.avi"
// and "/home/ann/clip.mkv" all give "clip.avi" / "clip.mkv". An address
// (text with "://") has no backslash and comes back whole.
QString FileNameFromPath(const QString& path);

// The text before its first NUL; the whole text when it has none.
QString CutAtNul(const QString& text);

// A strtok-like tokenizer with one remembered remainder for the whole
// program: a non-empty text starts afresh, an empty one goes on with the
// remainder. The first delimiter (in the delimiters' order) that occurs in
// the remainder splits it.
QString NextToken(const QString& text, const QString& delimiters);

}  // namespace config
