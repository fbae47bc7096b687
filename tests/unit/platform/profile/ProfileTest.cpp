// The private-profile calls as a caller sees them: reads (how lines are
// classified, matched and trimmed, and cut to the caller's buffer), writes
// compared byte for byte, the file's encoding, the file system around the
// file, and a cache that must notice every change made behind its back.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <utility>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

#include "platform/profile/PrivateProfile.h"
#include "platform/profile/ProfileText.h"
#include "support/TestSupport.h"

namespace {

using platform::profile::TextEncoding;
using platform::profile::WritePrivateProfileString;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// u"a\0b" keeps its NUL, unlike a plain QString conversion, and a leading
// U+FEFF stays text (QString::fromUtf16 would take it for a byte order mark).
template <std::size_t N>
QString Text(const char16_t (&literal)[N]) { return QString(reinterpret_cast<const QChar*>(literal), N - 1); }
template <std::size_t N>
QByteArray Bytes(const char (&literal)[N]) { return QByteArray(literal, N - 1); }
std::optional<QStringView> Arg(const std::optional<QString>& s) {
    return s ? std::optional<QStringView>(*s) : std::nullopt;
}

// The count the call returned, and the whole buffer afterwards: the size
// passed and one character past it, all '#' before the call.
std::pair<quint32, QString> Read(const std::optional<QString>& app, const std::optional<QString>& key,
                                 const QString& defaultValue, const QString& file, quint32 size) {
    QString buffer(qsizetype(size) + 1, u'#');
    const quint32 returned =
        platform::profile::GetPrivateProfileString(Arg(app), Arg(key), defaultValue, buffer.data(), size, file);
    return {returned, buffer};
}

// The characters returned and the NUL that must follow them, so one
// comparison checks the content, the count and the terminator.
QString ReadReturned(const std::optional<QString>& app, const std::optional<QString>& key,
                     const QString& defaultValue, const QString& file) {
    const auto [returned, buffer] = Read(app, key, defaultValue, file, 256);
    return buffer.left(qsizetype(returned) + 1);
}

const QByteArray kMixed = Bytes(
    "; leading comment\r\norphan=before any section\r\n"
    "[General]\r\nName=First\r\nname=Second\r\n  Spaced Key \t=\t  spaced value \v\r\n"
    "Quoted=\"  kept  \"\r\nSingle='x'\r\nMismatch='x\"\r\nOneQuote=\"\r\n"
    "  ;Hidden=comment\r\n#Hash=not a comment\r\nNoEquals\r\nEmpty= \t\r\nInline=v ;x\r\nTabbed\tKey=t\r\n"
    "[general]\r\nLater=unreachable\r\n"
    "  [ Spaces ] trailing=ignored\r\nk=in spaces\r\n[]\r\nk=nameless\r\n[Open\r\nk=no bracket\r\n");

// Sections of more than 16 keys are looked up through an index instead of a scan.
QByteArray Section(const char* name, int keys) {
    QByteArray text = QByteArray("[") + name + "]\n";
    for (int i = 0; i < keys; ++i) text += "k" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    return text;
}
const QByteArray kLarge = Section("Big", 17) + "K7=duplicate\n" + Section("Edge", 16);

TEST(ProfileReadTest, FindsWhatTheFileSays) {
    const struct {
        std::optional<QByteArray> file;  // nullopt: no such file
        std::optional<QString> app, key;
        QString defaultValue, expected;
    } rows[] = {
        {kMixed, "GENERAL", "NAME", "d", Text(u"First\0")},  // any case; the first of two keys wins
        {kMixed, "  General ", " Spaced Key  ", "d", Text(u"spaced value\0")},
        {kMixed, "General", "\tName", "d", Text(u"d\0")},  // only spaces are trimmed from the caller's names
        {kMixed, "General", "Quoted", "d", Text(u"  kept  \0")},
        {kMixed, "General", "Single", "d", Text(u"x\0")},
        {kMixed, "General", "Mismatch", "d", Text(u"'x\"\0")},
        {kMixed, "General", "OneQuote", "d", Text(u"\"\0")},
        {kMixed, "General", "Empty", "d", Text(u"\0")},  // blanks only: empty, yet not the default
        {kMixed, "General", "Inline", "d", Text(u"v ;x\0")},
        {kMixed, "general", "Later", "d", Text(u"d\0")},  // a later copy of a section is never read
        {kMixed, "", "k", "d", Text(u"nameless\0")},
        {kMixed, "", "orphan", "d", Text(u"d\0")},
        {kMixed, "General", "missing", " de\tf  ", Text(u" de\tf\0")},  // the default loses trailing spaces only
        {kMixed, "General", "", "d", Text(u"d\0")},
        {kMixed, "Nowhere", "Name", "d", Text(u"d\0")},
        {std::nullopt, "General", "Name", "d", Text(u"d\0")},
        // Keys repeat in the list; comments and lines without '=' are no keys, '#' starts no comment.
        {kMixed, "general", std::nullopt, "d",
         Text(u"Name\0name\0Spaced Key\0Quoted\0Single\0Mismatch\0OneQuote\0#Hash\0Empty\0Inline\0Tabbed\tKey\0\0")},
        {kMixed, std::nullopt, std::nullopt, "d", Text(u"General\0general\0Spaces\0\0Open\0\0")},
        {kMixed, "Nowhere", std::nullopt, "dflt ", Text(u"dflt\0")},
        {Bytes("[a]\r[b]\n[c]\r\n\r\r[d]"), std::nullopt, std::nullopt, "", Text(u"a\0b\0c\0d\0\0")},
        {Bytes("[a\0b]\nk\0=v\0w\n"), Text(u"a\0b"), Text(u"k\0"), "d", Text(u"v\0w\0")},
        {Bytes("[s]\r\nk=caf\xE9 \x80\x81\r\n"), "S", "k", "d", Text(u"caf\u00E9 \u20AC\u0081\0")},
        {Bytes("[\xC3\x89t\xC3\xA9]\nk=v\n"), Text(u"\u00E9T\u00C9"), "K", "d", Text(u"v\0")},
        {kLarge, "BIG", "K16", "d", Text(u"v16\0")},
        {kLarge, "big", "k7", "d", Text(u"v7\0")},
        {kLarge, "Big", "k17", "d", Text(u"d\0")},
        {kLarge, "Edge", "k15", "d", Text(u"v15\0")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.app.value_or("(sections)").toStdString() + " / " + row.key.value_or("(keys)").toStdString());
        testsupport::TempFolder folder;
        const QString path = folder.file("read.ini");
        if (row.file) WriteBytes(path, *row.file);
        EXPECT_EQ(ReadReturned(row.app, row.key, row.defaultValue, path), row.expected);
    }
}

// The whole buffer after a read: what the size allowed, and the character
// past the size untouched ('#').
TEST(ProfileReadTest, CutsToTheBufferSize) {
    const QString v126(126, u'v');
    testsupport::TempFolder folder;
    const QString path = folder.file("buffer.ini");
    WriteBytes(path, "[s1]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n[s2]\r\nv126=" + v126.toLatin1() +
                         "\r\nv127=" + v126.toLatin1() + "w\r\n[s3]\r\n");
    // written: the buffer up to the first untouched character.
    const struct { const char* app; std::optional<QString> key; quint32 size, returned; QString written; } rows[] = {
        {"s2", "v126", 127, 126, v126 + QChar(0)},  // a caller passes 127 for a Space$(128) buffer
        {"s2", "v127", 127, 126, v126 + QChar(0)},
        {"s2", "v126", 1, 0, Text(u"\0")},
        {"s2", "v126", 0, 0, ""},
        {"s1", std::nullopt, 20, 18, Text(u"name1\0name2\0name4\0\0")},
        {"s1", std::nullopt, 19, 17, Text(u"name1\0name2\0name4\0\0")},  // one short of two spare characters
        {"s1", std::nullopt, 16, 14, Text(u"name1\0name2\0na\0\0")},
        {"s1", std::nullopt, 8, 6, Text(u"name1\0\0\0")},
        {"s1", std::nullopt, 2, 0, Text(u"\0\0")},
        {"s1", std::nullopt, 1, 0, ""},
        {"s3", std::nullopt, 10, 0, Text(u"\0")},  // an empty list is a single NUL
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.app) + " size " + std::to_string(row.size));
        const auto [returned, buffer] = Read(QString(row.app), row.key, "dflt", path, row.size);
        EXPECT_EQ(returned, row.returned);
        EXPECT_EQ(buffer, row.written + QString(row.size + 1 - row.written.size(), u'#'));
    }
}

void ExpectRoundTrip(const QByteArray& bytes, TextEncoding encoding, const std::optional<QString>& text) {
    SCOPED_TRACE(bytes.toHex(' ').toStdString());
    const platform::profile::DecodedText decoded = platform::profile::DecodeText(bytes);
    EXPECT_EQ(decoded.encoding, encoding);
    if (text) {
        EXPECT_EQ(decoded.text, *text);
    }
    EXPECT_EQ(platform::profile::EncodeText(decoded.text, decoded.encoding), bytes);
}

// Decoding and encoding back must give the very same bytes, or a write would
// change lines it never touched.
TEST(ProfileTextTest, DetectsTheEncodingAndRoundTrips) {
    const struct { QByteArray bytes; TextEncoding encoding; QString text; } rows[] = {
        {QByteArray(), TextEncoding::Utf8, ""},
        {Bytes("a\0\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), TextEncoding::Utf8, Text(u"a\0\u00E9\u20AC\U0001F600")},
        {Bytes("\xEF\xBB\xBFk=\xC3\xA9"), TextEncoding::Utf8WithBom, Text(u"k=\u00E9")},
        {Bytes("\xEF\xBB\xBF\xEF\xBB\xBFx"), TextEncoding::Utf8WithBom, Text(u"\uFEFFx")},  // a second mark is text
        {Bytes("\xEF\xBB\xBFk=\xE9"), TextEncoding::Windows1252, Text(u"\u00EF\u00BB\u00BFk=\u00E9")},
        {Bytes("\xFF\xFEk\0=\0\xA9\x03\x00\xD8"), TextEncoding::Utf16LE, Text(u"k=\u03A9\xD800")},  // lone surrogate
        {Bytes("\xFF\xFEk"), TextEncoding::Windows1252, Text(u"\u00FF\u00FEk")},  // odd length: not UTF-16
        // Invalid UTF-8 is the code page: an overlong form, a cut sequence.
        {Bytes("\xC0\x80"), TextEncoding::Windows1252, Text(u"\u00C0\u20AC")},
        {Bytes("ab\xC3"), TextEncoding::Windows1252, Text(u"ab\u00C3")},
        {Bytes("\x80\x81\x8A\x9F\xA0\xFF"), TextEncoding::Windows1252, Text(u"\u20AC\u0081\u0160\u0178\u00A0\u00FF")},
    };
    for (const auto& row : rows) ExpectRoundTrip(row.bytes, row.encoding, row.text);

    // Every byte means something in the code page, so any file round-trips.
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    ExpectRoundTrip(all, TextEncoding::Windows1252, std::nullopt);
}

const QByteArray kTwo = Bytes("[A]\r\nk=v\r\n; note\r\n\r\n[B]\r\nz=1\r\n");

TEST(ProfileWriteTest, ChangesOnlyTheLineConcerned) {
    const struct {
        std::optional<QByteArray> before;  // nullopt: no file
        std::optional<QString> app, key, value;
        std::optional<QByteArray> after;
    } rows[] = {
        // A new file has CRLF lines and UTF-8 without a mark; names lose surrounding spaces only.
        {std::nullopt, " Sec\t ", "  key ", Text(u" \u00E9 "), Bytes("[Sec\t]\r\nkey= \xC3\xA9 \r\n")},
        {std::nullopt, "S", "k", "", Bytes("[S]\r\nk=\r\n")},
        {kTwo, "C", "x", "1", kTwo + "[C]\r\nx=1\r\n"},
        {Bytes("[A]\nk=v"), "B", "x", "1", Bytes("[A]\nk=v\n[B]\nx=1\n")},
        // A new key goes after the section's last entry, before its trailing comments and blanks.
        {kTwo, "a", "new", "n", Bytes("[A]\r\nk=v\r\nnew=n\r\n; note\r\n\r\n[B]\r\nz=1\r\n")},
        {Bytes("[A]\r\nk=v\r\nstray\r\n;c\r\n"), "A", "n", "1", Bytes("[A]\r\nk=v\r\nstray\r\nn=1\r\n;c\r\n")},
        {Bytes("[A]"), "A", "k", "v", Bytes("[A]\r\nk=v\r\n")},
        {Bytes("[A]\nk=1\n[a]\nm=2\n"), "A", "m", "3", Bytes("[A]\nk=1\nm=3\n[a]\nm=2\n")},
        {Bytes("[A]\rk=v\r"), "A", "n", "1", Bytes("[A]\rk=v\rn=1\r")},
        // An update keeps everything up to the '=' and the line's own ending.
        {Bytes("[A]\n  Key \t=  old value\nother=1\n"), "a", "KEY", "new", Bytes("[A]\n  Key \t=new\nother=1\n")},
        {Bytes("[A]\r\nk=1\nk=2\r\n"), "A", "k", "3", Bytes("[A]\r\nk=3\nk=2\r\n")},
        {Bytes("[A]\r\nk=old"), "A", "k", "new", Bytes("[A]\r\nk=new\r\n")},
        {Bytes("[A]\r\nk=\"q\"\r\n"), "A", "k", " a=b ;c ", Bytes("[A]\r\nk= a=b ;c \r\n")},
        // Deletes: no value removes a key's line, no key a section's header and keys.
        {Bytes("[A]\r\nk=v\r\n;c\r\nm=w\r\n"), "A", "K", std::nullopt, Bytes("[A]\r\n;c\r\nm=w\r\n")},
        {Bytes("[A]\r\nk=v"), "A", "k", std::nullopt, Bytes("[A]\r\n")},
        {kTwo, "A", "none", std::nullopt, kTwo},
        {std::nullopt, "A", "k", std::nullopt, std::nullopt},
        {Bytes("[A]\r\nk=v\r\n; keep\r\n[B]\r\n[a]\r\nk=2\r\n"), "a", std::nullopt, std::nullopt,
         Bytes("; keep\r\n[B]\r\n[a]\r\nk=2\r\n")},
        // The file's encoding is kept; what it cannot hold becomes one '?' a character.
        {Bytes("[A]\r\nk=caf\xE9\r\nm=\x80\x81\x8D\x8F\x90\x9D\r\n"), "A", "m", Text(u"\u00E9\u20AC\u0178"),
         Bytes("[A]\r\nk=caf\xE9\r\nm=\xE9\x80\x9F\r\n")},
        {Bytes("[A]\r\nk=\xE9\r\n"), "A", "k", Text(u"\u03A9\U0001F600.\u0080\xD800"), Bytes("[A]\r\nk=??.??\r\n")},
        {Bytes("\xEF\xBB\xBF[A]\r\nk=v\r\n"), "A", "k", Text(u"\u00E9\xDC00"),
         Bytes("\xEF\xBB\xBF[A]\r\nk=\xC3\xA9?\r\n")},
        {Bytes("\xFF\xFE[\0A\0]\0\n\0"), "A", "k", Text(u"\u03A9"), Bytes("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xA9\x03\n\0")},
        {kTwo, std::nullopt, "k", "v", kTwo},  // no section name: refused
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before.value_or("(no file)").toStdString());
        testsupport::TempFolder folder;
        const QString path = folder.file("write.ini");
        if (row.before) WriteBytes(path, *row.before);
        EXPECT_EQ(WritePrivateProfileString(Arg(row.app), Arg(row.key), Arg(row.value), path), row.app.has_value());
        EXPECT_EQ(QFileInfo::exists(path) ? std::optional(ReadBytes(path)) : std::nullopt, row.after);
    }
}

const QByteArray kOld = "[S]\r\nk=old\r\n";
const QByteArray kNew = "[S]\r\nk=new\r\n";  // the size of the old on purpose

struct stat StatOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

QString Chmod(const QString& path, mode_t mode) {
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    return path;
}

QString P(const QString& folder) { return folder + "/p.ini"; }

QString Plain(const QString& folder, mode_t mode = 0600) {
    WriteBytes(P(folder), kOld);
    return Chmod(P(folder), mode);
}

// Kind and permission bits, size and, for a small regular file, the bytes.
QString StateOf(const QString& path) {
    const struct stat st = StatOf(path);
    const bool small = S_ISREG(st.st_mode) && st.st_size < 4096;
    return QString::number(st.st_mode, 8) + ' ' + QString::number(st.st_size) + ' ' +
           QString::fromLatin1(small ? ReadBytes(path) : QByteArray());
}

// Every name in the folder, hidden ones too: no temporary file may be left behind.
QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool Write(const QString& path, const QString& value = "new") {
    return WritePrivateProfileString(u"S", u"k", value, path);
}

timespec Now(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now;
}

// Sleeps until the clock has moved past t.
void WaitPast(const timespec& t, clockid_t clock) {
    const auto key = [](const timespec& x) { return std::pair(x.tv_sec, x.tv_nsec); };
    while (key(Now(clock)) <= key(t)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Waits until the file's times lie in a past tick of the clock that stamps
// them (its ctime is never before its mtime here): the cache then trusts its
// copy on the stat data alone.
void Settle(const QString& path) { WaitPast(StatOf(path).st_ctim, CLOCK_REALTIME_COARSE); }

void RewriteKeepingMtime(const QString& path) {
    const timespec times[2] = {StatOf(path).st_mtim, StatOf(path).st_mtim};
    WriteBytes(path, kNew);
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

TEST(ProfileCacheTest, SeesChangesByOthers) {
    const struct {
        const char* name;
        bool settle;  // let the cached copy become trusted before the change
        std::function<void(const QString& path)> change;
        QString expected;
    } rows[] = {
        {"rewrite in place", true, [](const QString& p) { WriteBytes(p, kNew); }, "new"},
        {"rewrite within the tick of the read", false, [](const QString& p) { WriteBytes(p, kNew); }, "new"},
        {"rewrite with the mtime restored", true, RewriteKeepingMtime, "new"},
        {"deleted", true, [](const QString& p) { QFile::remove(p); }, "d"},
        {"rewrite right after our own write", false,
         [](const QString& p) { Write(p, "our"); WriteBytes(p, kNew); }, "new"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder folder;
        const QString path = folder.file("cache.ini");
        WriteBytes(path, kOld);
        if (row.settle) Settle(path);
        ASSERT_EQ(ReadReturned("S", "k", "d", path), Text(u"old\0"));
        row.change(path);
        WaitPast(Now(CLOCK_MONOTONIC_COARSE), CLOCK_MONOTONIC_COARSE);  // stat data is compared once a tick
        EXPECT_EQ(ReadReturned("S", "k", "d", path), row.expected + QChar(0));
    }
}

// A plain file already read and settled: a write finds it in the cache
// without opening it.
QString Cached(const QString& folder) {
    Settle(Plain(folder));
    ReadReturned("S", "k", "d", P(folder));
    return P(folder);
}

TEST(ProfileFileTest, RefusedWriteChangesNothing) {
    const struct {
        const char* name;
        std::function<QString(const QString& folder)> setup;  // returns the path to write
        QString readBack;                                     // [S] k afterwards
        int resource = RLIMIT_FSIZE;                          // limited during the write
        rlim_t limit = RLIM_INFINITY;
    } rows[] = {
        {"missing folder", [](const QString& f) { return f + "/none/p.ini"; }, "d"},
        {"read-only file", [](const QString& f) { return Plain(f, 0444); }, "old"},
        {"read-only folder", [](const QString& f) { Plain(f); Chmod(f, 0500); return P(f); }, "old"},
        {"disk full halfway", [](const QString& f) { return Plain(f); }, "old", RLIMIT_FSIZE, 8},
        {"no descriptor for the temporary file", Cached, "old", RLIMIT_NOFILE, 0},
        {"oversize", [](const QString& f) { QFile::resize(Plain(f), 100 << 20); return P(f); }, "d"},  // sparse
        {"fifo", [](const QString& f) { ::mkfifo(QFile::encodeName(P(f)).constData(), 0600); return P(f); }, "d"},
    };
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // past the size limit a write fails with EFBIG
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder folder;
        const QString path = row.setup(folder.path());
        const QString before = StateOf(path);
        const QStringList names = Names(folder.path());
        rlimit saved{};
        ::getrlimit(row.resource, &saved);
        const rlimit lowered{std::min(row.limit, saved.rlim_max), saved.rlim_max};
        ::setrlimit(row.resource, &lowered);
        const bool written = Write(path);
        ::setrlimit(row.resource, &saved);
        EXPECT_FALSE(written);
        EXPECT_EQ(StateOf(path), before);
        EXPECT_EQ(ReadReturned("S", "k", "d", path), row.readBack + QChar(0));
        Chmod(folder.path(), 0700);
        EXPECT_EQ(Names(folder.path()), names);
    }
    std::signal(SIGXFSZ, previous);
}

// Through a link the write goes to the link's target, created if need be.
TEST(ProfileFileTest, WriteKeepsPermissionBitsAndLinks) {
    testsupport::TempFolder folder;
    Plain(folder.path(), 0640);
    ASSERT_TRUE(QDir(folder.path()).mkdir("real"));
    WriteBytes(folder.file("real/t.ini"), kOld);
    ASSERT_TRUE(QFile::link("real/t.ini", folder.file("link.ini")));
    ASSERT_TRUE(QFile::link("t.ini", folder.file("dangling.ini")));
    for (const char* name : {"p.ini", "link.ini", "dangling.ini"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Write(folder.file(name)));
        EXPECT_EQ(ReadBytes(folder.file(name)), kNew);
    }
    EXPECT_EQ(StateOf(folder.file("p.ini")), "100640 12 " + kNew);
    EXPECT_TRUE(QFileInfo(folder.file("link.ini")).isSymLink() && QFileInfo(folder.file("dangling.ini")).isSymLink());
    EXPECT_EQ(Names(folder.path()), QStringList({"dangling.ini", "link.ini", "p.ini", "real", "t.ini"}));
    EXPECT_EQ(Names(folder.file("real")), QStringList({"t.ini"}));
}

}  // namespace
