#include "platform/profile/ProfileFile.h"

#include <QFile>
#include <algorithm>

#include "platform/profile/FileSnapshot.h"
#include "platform/profile/ProfileEdit.h"
#include "platform/system/AtomicFile.h"

namespace platform::profile {

std::optional<ProfileFile> ProfileFile::Read(const QString& path, QString* why) {
    const FileSnapshot snapshot = ReadFileSnapshot(QFile::encodeName(path), kMaxProfileBytes);
    if (snapshot.state == FileState::Unreadable) {
        *why = QStringLiteral("not a readable regular file of at most 64 MiB");
        return std::nullopt;
    }
    ProfileFile file;
    file.path_ = path;
    file.existed_ = snapshot.state == FileState::Present;
    file.read_ = snapshot.bytes;
    DecodedText decoded = DecodeText(snapshot.bytes);
    file.encoding_ = decoded.encoding;
    file.Reparse(std::move(decoded.text));
    return file;
}

QStringList ProfileFile::Values(QStringView section) const {
    QStringList values;
    const qint32 s = document_.FindSection(section);
    if (s < 0) return values;
    const ProfileSection& found = document_.section(s);
    for (qint32 k = found.firstKey; k < found.firstKey + found.keyCount; ++k)
        values << document_.View(document_.key(k).value).toString();
    return values;
}

void ProfileFile::SetValue(QStringView section, QStringView key, QStringView value) {
    Reparse(TextWithValue(document_, section, key, value));
}

void ProfileFile::RemoveSection(QStringView section) {
    if (std::optional<QString> text = TextWithoutSection(document_, section)) Reparse(std::move(*text));
}

void ProfileFile::RenameSections(const std::map<QString, QString>& names) {
    std::vector<std::pair<TextRange, QString>> edits;
    for (const auto& [from, to] : names)
        if (const qint32 s = document_.FindSection(from); s >= 0) edits.emplace_back(document_.section(s).name, to);
    std::sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) { return a.first.start < b.first.start; });
    const QStringView text = document_.text();
    QString out;
    out.reserve(text.size() + qsizetype(edits.size()) * 4);
    qsizetype copied = 0;
    for (const auto& [range, to] : edits) {
        out.append(text.sliced(copied, range.start - copied));
        out.append(to);
        copied = range.start + range.length;
    }
    out.append(text.sliced(copied));
    Reparse(std::move(out));
}

void ProfileFile::AppendSections(const std::vector<std::pair<QString, QStringList>>& sections) {
    const QStringView eol = LineEnding();
    QString text = document_.text();
    if (!text.isEmpty() && text.back() != u'\n' && text.back() != u'\r') text.append(eol);
    for (const auto& [name, lines] : sections) {
        text.append(u'[').append(name).append(u']').append(eol);
        for (const QString& line : lines) text.append(line).append(eol);
    }
    Reparse(std::move(text));
}

QStringView ProfileFile::LineEnding() const { return LineEndingOf(document_.text()); }

bool ProfileFile::CanHold(QStringView text) const {
    return DecodeText(EncodeText(text, encoding_)).text == text;
}

bool ProfileFile::Write(QString* why) const {
    const QByteArray path = QFile::encodeName(path_);
    const LockedFile file(path);
    if (!file.Usable()) {
        *why = file.reason();
        return false;
    }
    const FileSnapshot now = ReadFileSnapshot(path, kMaxProfileBytes);
    if ((now.state == FileState::Present) != existed_ || now.bytes != read_) {
        *why = QStringLiteral("was changed by another program meanwhile; nothing was written, try again");
        return false;
    }
    // A new file is UTF-8 without a byte order mark, as the engine makes one.
    const QByteArray bytes = EncodeText(document_.text(), existed_ ? encoding_ : TextEncoding::Utf8);
    if (file.Replace(bytes)) return true;
    *why = QStringLiteral("cannot be written (read-only, a folder that does not allow it, or a full disk)");
    return false;
}

}  // namespace platform::profile
