// Arbitrary bytes as an INI file: decoding must round-trip, every name the
// parser lists must be found again, and the public calls must stay inside
// a small buffer and read back what they wrote.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/profile/PrivateProfile.h"
#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileText.h"

namespace {

using namespace platform::profile;

constexpr qint32 kChecked = 64;  // names checked per input, to keep runs fast

void Require(bool condition) {
    if (!condition) std::abort();
}

// A file of its own for every input, under TMPDIR (run-fuzz.sh points it at
// tmpfs when it can, so that the flush in each write is free). A file
// rewritten within one clock tick may still be read from the cache, so a
// name is never used twice; the last input's file is removed.
QString scratchFile;

const QString& ScratchFile() { return scratchFile; }

void NextScratchFile() {
    static QTemporaryDir folder;
    static quint64 inputs = 0;
    if (!scratchFile.isEmpty()) QFile::remove(scratchFile);
    scratchFile = folder.filePath(QStringLiteral("fuzz%1.ini").arg(++inputs));
}

void Store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QByteArray Load(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void CheckLookups(const ProfileDocument& doc) {
    const qint32 sections = qint32(std::min<std::size_t>(doc.sections().size(), kChecked));
    for (qint32 s = 0; s < sections; ++s) {
        const qint32 found = doc.FindSection(doc.View(doc.section(s).name));
        Require(found >= 0 && found <= s);
        if (found != s) continue;
        const ProfileSection& section = doc.section(s);
        const qint32 keys = std::min(section.keyCount, kChecked);
        for (qint32 k = section.firstKey; k < section.firstKey + keys; ++k) {
            const qint32 key = doc.FindKey(s, doc.View(doc.key(k).name));
            Require(key >= section.firstKey && key <= k);
        }
    }
}

// Exactly size characters, so that AddressSanitizer catches a write past them.
quint32 Read(std::optional<QStringView> app, std::optional<QStringView> key, quint32 size,
             std::vector<QChar>& buffer) {
    buffer.assign(size, QChar(u'#'));
    const quint32 returned = GetPrivateProfileString(app, key, u"dflt", buffer.data(), size, ScratchFile());
    Require(returned < std::max<quint32>(size, 1));
    return returned;
}

void CheckCalls(const ProfileDocument& doc, quint32 size) {
    std::vector<QChar> buffer;
    const quint32 listed = Read(std::nullopt, std::nullopt, size, buffer);
    Require(size < 2 || listed <= size - 2);
    if (doc.sections().empty()) return;
    const QStringView section = doc.View(doc.section(0).name);
    Read(section, std::nullopt, size, buffer);
    if (doc.section(0).keyCount == 0) return;
    const QStringView key = doc.View(doc.key(doc.section(0).firstKey).name);
    const quint32 returned = Read(section, key, size, buffer);
    if (!key.isEmpty() && size > 0) {
        const QStringView value = doc.View(doc.key(doc.FindKey(0, key)).value);
        Require(QStringView(buffer.data(), returned) == value.first(std::min<qsizetype>(value.size(), size - 1)));
    }
}

void CheckWrite(TextEncoding before) {
    std::vector<QChar> buffer;
    Require(WritePrivateProfileString(u"fz", u"k", u"v1", ScratchFile()));
    // A code-page file that starts with the bytes of a UTF-16 mark reads
    // as UTF-16 once an edit makes its length even; that guess cannot be
    // avoided, so the read-back is only checked when it did not happen.
    const bool utf16After = DecodeText(Load(ScratchFile())).encoding == TextEncoding::Utf16LE;
    if (utf16After != (before == TextEncoding::Utf16LE)) return;
    const quint32 returned = Read(u"fz", u"k", 8, buffer);
    Require(QStringView(buffer.data(), returned) == u"v1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const DecodedText decoded = DecodeText(bytes);
    Require(EncodeText(decoded.text, decoded.encoding) == bytes);
    const ProfileDocument doc = ProfileDocument::Parse(decoded.text);
    CheckLookups(doc);
    NextScratchFile();
    Store(ScratchFile(), bytes);
    CheckCalls(doc, size == 0 ? 0 : quint32(data[0] % 12));
    CheckWrite(decoded.encoding);
    return 0;
}
