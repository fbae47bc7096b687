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
#include <sys/wait.h>
#include <thread>

#include "platform/profile/PrivateProfile.h"
#include "platform/profile/FileSnapshot.h"
#include "platform/profile/ProfileFile.h"
#include "platform/system/TargetLock.h"
#include "platform/system/WriteTarget.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;

// u"a\0b" keeps its NUL, unlike a plain QString conversion.
template <std::size_t N>
QString Text(const char16_t (&literal)[N]) { return QString(reinterpret_cast<const QChar*>(literal), N - 1); }
template <std::size_t N>
QByteArray Bytes(const char (&literal)[N]) { return QByteArray(literal, N - 1); }
std::optional<QStringView> Arg(const std::optional<QString>& s) {
    return s ? std::optional(QStringView(*s)) : std::nullopt;
}

// The count returned and the whole buffer: the size passed and one '#' past it.
std::pair<quint32, QString> Read(const std::optional<QString>& app, const std::optional<QString>& key,
                                 const QString& defaultValue, const QString& file, quint32 size) {
    QString buffer(qsizetype(size) + 1, u'#');
    const quint32 returned =
        platform::profile::GetPrivateProfileString(Arg(app), Arg(key), defaultValue, buffer.data(), size, file);
    return {returned, buffer};
}

// The characters returned and the NUL that must follow them.
QString ReadReturned(const std::optional<QString>& app, const std::optional<QString>& key,
                     const QString& defaultValue, const QString& file) {
    const auto read = Read(app, key, defaultValue, file, 256);
    return read.second.left(qsizetype(read.first) + 1);
}

const QByteArray kMixed = Bytes(
    "[General]\r\nName=First\r\nname=Second\r\n  Spaced Key \t=\t  spaced value \v\r\nQuoted=\"  kept  \"\r\n"
    "  ;Hidden=comment\r\n#Hash=not a comment\r\nNoEquals\r\nEmpty= \t\r\n[general]\r\nLater=unreachable\r\n");

// Sections of more than 16 keys are looked up through an index instead of a scan.
QByteArray Section(const char* name, int keys) {
    QByteArray text = QByteArray("[") + name + "]\n";
    for (int i = 0; i < keys; ++i) text += "k" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\n";
    return text;
}
const QByteArray kLarge = Section("Big", 17) + "K7=duplicate\n" + Section("Edge", 16);

TEST(ProfileReadTest, FindsWhatTheFileSays) {
    const struct { QByteArray file; std::optional<QString> app, key; QString defaultValue, expected; } rows[] = {
        {kMixed, "GENERAL", "NAME", "d", Text(u"First\0")},  // any case; the first of two keys wins
        {kMixed, "  General ", " Spaced Key  ", "d", Text(u"spaced value\0")},
        {kMixed, "General", "Quoted", "d", Text(u"  kept  \0")},
        {kMixed, "General", "Empty", "d", Text(u"\0")},  // blanks only: empty, yet not the default
        {kMixed, "general", "Later", "d", Text(u"d\0")},  // a later copy of a section is never read
        {kMixed, "General", "missing", " de\tf  ", Text(u" de\tf\0")},  // the default loses trailing spaces only
        {kMixed, "Nowhere", "Name", "d", Text(u"d\0")},
        // Keys repeat in the list; comments and lines without '=' are no keys, '#' starts no comment.
        {kMixed, "general", std::nullopt, "d", Text(u"Name\0name\0Spaced Key\0Quoted\0#Hash\0Empty\0\0")},
        {Bytes("[a]\r[b]\n[c]\r\n\r\r[d]"), std::nullopt, std::nullopt, "", Text(u"a\0b\0c\0d\0\0")},
        {Bytes("[\xC3\x89t\xC3\xA9]\nk=v\n"), Text(u"\u00E9T\u00C9"), "K", "d", Text(u"v\0")},
        {Bytes("[s]\nk=\x80\x81\x8A\x9F\xA0\xFF\n"), "S", "k", "d", Text(u"\u20AC\u0081\u0160\u0178\u00A0\u00FF\0")},
        {kLarge, "big", "k7", "d", Text(u"v7\0")},
        {kLarge, "Edge", "k15", "d", Text(u"v15\0")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.app.value_or("(sections)").toStdString() + " / " + row.key.value_or("(keys)").toStdString());
        testsupport::TempFolder folder;
        const QString path = folder.file("read.ini");
        WriteBytes(path, row.file);
        EXPECT_EQ(ReadReturned(row.app, row.key, row.defaultValue, path), row.expected);
    }
}

TEST(ProfileReadTest, CutsToTheBufferSize) {
    const QString v126(126, u'v');
    testsupport::TempFolder folder;
    const QString path = folder.file("buffer.ini");
    WriteBytes(path, "[s1]\r\nname1=val1\r\nname2=\r\nname4=val4\r\n[s2]\r\nv127=" + v126.toLatin1() + "w\r\n[s3]\r\n");
    // written: the buffer up to the first untouched character.
    const struct { const char* app; std::optional<QString> key; quint32 size, returned; QString written; } rows[] = {
        {"s2", "v127", 127, 126, v126 + QChar(0)},  // a caller passes 127 for a Space$(128) buffer
        {"s2", "v127", 0, 0, ""},
        {"s1", std::nullopt, 20, 18, Text(u"name1\0name2\0name4\0\0")},
        {"s1", std::nullopt, 19, 17, Text(u"name1\0name2\0name4\0\0")},  // one short of two spare characters
        {"s1", std::nullopt, 16, 14, Text(u"name1\0name2\0na\0\0")},
        {"s1", std::nullopt, 2, 0, Text(u"\0\0")},
        {"s3", std::nullopt, 10, 0, Text(u"\0")},  // an empty list is a single NUL
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.app) + " size " + std::to_string(row.size));
        const auto [returned, buffer] = Read(QString(row.app), row.key, "dflt", path, row.size);
        EXPECT_EQ(returned, row.returned);
        EXPECT_EQ(buffer, row.written + QString(row.size + 1 - row.written.size(), u'#'));
    }
}

const QByteArray kTwo = Bytes("[A]\r\nk=v\r\n; note\r\n\r\n[B]\r\nz=1\r\n");

TEST(ProfileWriteTest, ChangesOnlyTheLineConcerned) {
    // before and after nullopt: no file
    const struct { std::optional<QByteArray> before; std::optional<QString> app, key, value; std::optional<QByteArray> after; } rows[] = {
        // A new file has CRLF lines and UTF-8 without a mark; names lose surrounding spaces only.
        {std::nullopt, " Sec\t ", "  key ", Text(u" \u00E9 "), Bytes("[Sec\t]\r\nkey= \xC3\xA9 \r\n")},
        {Bytes("[A]\nk=v"), "B", "x", "1", Bytes("[A]\nk=v\n[B]\nx=1\n")},
        // A new key goes after the section's last entry, before its trailing comments and blanks.
        {kTwo, "a", "new", "n", Bytes("[A]\r\nk=v\r\nnew=n\r\n; note\r\n\r\n[B]\r\nz=1\r\n")},
        {Bytes("[A]"), "A", "k", "v", Bytes("[A]\r\nk=v\r\n")},
        // An update keeps everything up to the '=' and the line's own ending; the first of two keys.
        {Bytes("[A]\n  Key \t=  old value\nother=1\n"), "a", "KEY", "new", Bytes("[A]\n  Key \t=new\nother=1\n")},
        {Bytes("[A]\r\nk=1\nk=2\r\n"), "A", "k", "3", Bytes("[A]\r\nk=3\nk=2\r\n")},
        // Deletes: no value removes a key's line, no key a section's header and keys.
        {Bytes("[A]\r\nk=v\r\n;c\r\nm=w\r\n"), "A", "K", std::nullopt, Bytes("[A]\r\n;c\r\nm=w\r\n")},
        {std::nullopt, "A", "k", std::nullopt, std::nullopt},
        {Bytes("[A]\r\nk=v\r\n; keep\r\n[B]\r\n[a]\r\nk=2\r\n"), "a", std::nullopt, std::nullopt,
         Bytes("; keep\r\n[B]\r\n[a]\r\nk=2\r\n")},
        // The file's encoding is kept, every byte of the lines not written to; what the code page
        // cannot hold becomes one '?' a character.
        {Bytes("[A]\r\nk=\0\x81\x8D\xE9\r\nm=\r\n"), "A", "m", Text(u"\u00E9\u20AC\u0178\u00A0\u03A9\U0001F600."),
         Bytes("[A]\r\nk=\0\x81\x8D\xE9\r\nm=\xE9\x80\x9F\xA0??.\r\n")},
        {Bytes("\xEF\xBB\xBF[A]\r\nk=v\r\n"), "A", "k", Text(u"\u00E9"), Bytes("\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n")},
        {Bytes("\xFF\xFE[\0A\0]\0\n\0"), "A", "k", Text(u"\u03A9"), Bytes("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xA9\x03\n\0")},
        {kTwo, std::nullopt, "k", "v", kTwo},  // no section name: refused
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before.value_or("(no file)").toStdString());
        testsupport::TempFolder folder;
        const QString path = folder.file("write.ini");
        if (row.before) WriteBytes(path, *row.before);
        EXPECT_EQ(platform::profile::WritePrivateProfileString(Arg(row.app), Arg(row.key), Arg(row.value), path),
                  row.app.has_value());
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

QString Plain(const QString& folder, mode_t mode = 0600) { return WriteBytes(P(folder), kOld), Chmod(P(folder), mode); }

// Kind and permission bits, and the bytes of a regular file.
QString StateOf(const QString& path) {
    const mode_t mode = StatOf(path).st_mode;
    return QString::number(mode, 8) + ' ' + QString::fromLatin1(S_ISREG(mode) ? ReadBytes(path) : QByteArray());
}

// Hidden names too: no temporary file may be left behind.
QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool Write(const QString& path) { return platform::profile::WritePrivateProfileString(u"S", u"k", u"new", path); }

// Sleeps until the clock has moved past t.
void WaitPast(const timespec& t, clockid_t clock) {
    timespec now{};
    while (clock_gettime(clock, &now) == 0 && std::pair(now.tv_sec, now.tv_nsec) <= std::pair(t.tv_sec, t.tv_nsec))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Once the file's times lie in a past tick of the clock that stamps them, the
// cache trusts its copy on the stat data alone.
void Settle(const QString& path) { WaitPast(StatOf(path).st_ctim, CLOCK_REALTIME_COARSE); }

// Each change follows a read, once right away and once the cached copy is
// trusted; the stat data is compared again from the next tick on.
TEST(ProfileCacheTest, SeesChangesByOthers) {
    testsupport::TempFolder folder;
    const QString path = folder.file("cache.ini");
    const auto readNextTick = [&] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
        WaitPast(now, CLOCK_MONOTONIC_COARSE);
        return ReadReturned("S", "k", "d", path);
    };
    WriteBytes(path, kOld);
    ASSERT_EQ(ReadReturned("S", "k", "d", path), Text(u"old\0"));
    WriteBytes(path, kNew);
    EXPECT_EQ(readNextTick(), Text(u"new\0"));
    Settle(path);
    ASSERT_EQ(ReadReturned("S", "k", "d", path), Text(u"new\0"));
    const timespec times[2] = {StatOf(path).st_mtim, StatOf(path).st_mtim};
    WriteBytes(path, kOld);
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);  // the same size and mtime
    EXPECT_EQ(readNextTick(), Text(u"old\0"));
    Settle(path);
    ASSERT_EQ(ReadReturned("S", "k", "d", path), Text(u"old\0"));
    QFile::remove(path);
    EXPECT_EQ(readNextTick(), Text(u"d\0"));
}

// Another writer's rename within the clock tick of the last read: reads may
// still give the old copy, but a write starts from the new content. Tried
// until the read and the rename fell in one tick (a tick is milliseconds;
// this takes microseconds).
TEST(ProfileCacheTest, WriteStartsFromAChangeWithinTheTick) {
    testsupport::TempFolder folder;
    const QString path = folder.file("tick.ini");
    const auto tick = [] { timespec now{}; return clock_gettime(CLOCK_MONOTONIC_COARSE, &now), now.tv_nsec; };
    for (int attempt = 0, oneTick = 0; !oneTick && attempt < 100; ++attempt) {
        WriteBytes(path, kOld);
        Settle(path);
        const long before = tick();
        ReadReturned("S", "k", "d", path);
        WriteBytes(path + ".other", kOld + "other=1\r\n");
        ::rename(QFile::encodeName(path + ".other").constData(), QFile::encodeName(path).constData());
        oneTick = tick() == before;
        ASSERT_TRUE(Write(path));
        ASSERT_EQ(ReadBytes(path), kNew + "other=1\r\n");
    }
}

TEST(ProfileFileTest, RefusedWriteChangesNothing) {
    // setup returns the path to write; readBack: [S] k afterwards; the resource limited during the write.
    const struct { const char* name; std::function<QString(const QString&)> setup; QString readBack;
                   int resource = RLIMIT_FSIZE; rlim_t limit = RLIM_INFINITY; } rows[] = {
        {"missing folder", [](const QString& f) { return f + "/none/p.ini"; }, "d"},
        {"read-only file", [](const QString& f) { return Plain(f, 0444); }, "old"},
        {"read-only folder", [](const QString& f) { Plain(f); Chmod(f, 0500); return P(f); }, "old"},
        {"disk full halfway", [](const QString& f) { return Plain(f); }, "old", RLIMIT_FSIZE, 8},
        // Already read and settled, so the write finds the file in the cache without opening it.
        {"no descriptor for the temporary file",
         [](const QString& f) { Settle(Plain(f)); ReadReturned("S", "k", "d", P(f)); return P(f); }, "old",
         RLIMIT_NOFILE, 0},
        {"fifo, which must not hang",
         [](const QString& f) { return ::mkfifo(QFile::encodeName(P(f)), 0600), P(f); }, "d"},
    };
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // past the size limit a write fails with EFBIG
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder folder;
        const QString path = row.setup(folder.path());
        const auto state = [&] { return StateOf(path) + '|' + Names(folder.path()).join('|'); };
        const QString before = state();
        rlimit saved{};
        ::getrlimit(row.resource, &saved);
        const rlimit lowered{std::min(row.limit, saved.rlim_max), saved.rlim_max};
        ::setrlimit(row.resource, &lowered);
        const bool written = Write(path);
        ::setrlimit(row.resource, &saved);
        EXPECT_FALSE(written);
        EXPECT_EQ(state(), before);
        EXPECT_EQ(ReadReturned("S", "k", "d", path), row.readBack + QChar(0));
        Chmod(folder.path(), 0700);
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
    for (const char* name : {"p.ini", "link.ini", "dangling.ini"}) EXPECT_TRUE(Write(folder.file(name))) << name;
    EXPECT_EQ(StateOf(folder.file("p.ini")), "100640 " + kNew);
    EXPECT_EQ(ReadBytes(folder.file("real/t.ini")) + ReadBytes(folder.file("t.ini")), kNew + kNew);
    EXPECT_TRUE(QFileInfo(folder.file("link.ini")).isSymLink() && QFileInfo(folder.file("dangling.ini")).isSymLink());
    EXPECT_EQ(Names(folder.path()), QStringList({"dangling.ini", "link.ini", "p.ini", "real", "t.ini"}));
    EXPECT_EQ(Names(folder.file("real")), QStringList({"t.ini"}));
}

// Two processes write their own keys into one file at once, each having read
// it first: every write starts from the other's last one, so no key is lost.
TEST(ProfileWriteTest, WritersInTwoProcessesLoseNothing) {
    for (int round = 0; round < 50; ++round) {
        testsupport::TempFolder folder;
        const QString path = folder.file("shared.ini");
        WriteBytes(path, "[S]\n");
        ReadReturned("S", "k", "d", path);  // cached, as a running copy has it
        pid_t writers[2];
        for (int w = 0; w < 2; ++w) {
            if ((writers[w] = ::fork()) != 0) continue;
            for (const char* key : {"a", "b", "c"})
                if (!platform::profile::WritePrivateProfileString(u"S", QString::number(w) + key, u"v", path)) ::_exit(1);
            ::_exit(0);
        }
        int status[2] = {-1, -1};
        for (int w = 0; w < 2; ++w) ::waitpid(writers[w], &status[w], 0);
        ASSERT_EQ(std::pair(status[0], status[1]), std::pair(0, 0));
        ASSERT_EQ(ReadBytes(path).count("=v\n"), 6) << "round " << round << ":\n" << ReadBytes(path).constData();
    }
}

// Under the lock a write removes what a killed writer left at the fixed
// temporary name, if it is a regular file; near misses are a user's and stay.
TEST(ProfileFileTest, WriteRemovesOnlyALeftoverTemporary) {
    const QStringList nearMisses = {".p.ini.zortmp-Ab12Cd", ".p.ini.zortmpx", ".q.ini.zortmp", "p.ini.zortmp", ".p.ini.x"};
    for (const QString leftover : {"file", "link"}) {
        SCOPED_TRACE(leftover.toStdString());
        testsupport::TempFolder folder;
        const QString fixed = folder.file(".p.ini.zortmp");
        for (const QString& name : nearMisses) WriteBytes(folder.file(name), kOld);
        if (leftover == "file") WriteBytes(fixed, kOld);
        ASSERT_TRUE(leftover != "link" || QFile::link("p.ini", fixed));
        ASSERT_TRUE(Write(P(folder.path())));
        QStringList expected = nearMisses + QStringList{"p.ini"} + (leftover == "file" ? QStringList() : QStringList{".p.ini.zortmp"});
        QStringList found = Names(folder.path());
        found.sort(), expected.sort();
        EXPECT_EQ(found, expected);
    }
}

// A read in the clock tick of the file's last change is not settled: a
// change later in that tick would leave the stamp as it was. Tried until
// the write and the read fell in one tick.
TEST(ProfileCacheTest, AReadInTheTickOfTheLastChangeIsNotSettled) {
    testsupport::TempFolder folder;
    const QByteArray path = QFile::encodeName(folder.file("fresh.ini"));
    const auto tick = [] { timespec now{}; return clock_gettime(CLOCK_REALTIME_COARSE, &now), std::pair(now.tv_sec, now.tv_nsec); };
    bool oneTick = false;
    for (int attempt = 0; !oneTick && attempt < 100; ++attempt) {
        const auto before = tick();
        WriteBytes(QFile::decodeName(path), kOld);
        const bool settled = platform::profile::ReadFileSnapshot(path, 1000).settled;
        oneTick = tick() == before;
        EXPECT_TRUE(!oneTick || !settled);
    }
    EXPECT_TRUE(oneTick);
    Settle(QFile::decodeName(path));
    EXPECT_TRUE(platform::profile::ReadFileSnapshot(path, 1000).settled);
}

// While another writer of the user's holds the file past the wait, a write
// fails rather than writing unlocked; a tool's edit read before another
// writer's change is not written over it.
TEST(ProfileFileTest, WritesRefusedWhileLockedOrAfterAChangeByAnother) {
    testsupport::TempFolder folder;
    QString why;
    std::optional<platform::profile::ProfileFile> file = platform::profile::ProfileFile::Read(Plain(folder.path()), &why);
    {
        const platform::TargetLock held(*platform::WriteTarget(QFile::encodeName(P(folder.path()))),
                                        platform::TargetLock::Purpose::Write);
        ASSERT_EQ(held.state(), platform::TargetLock::State::Held);
        EXPECT_FALSE(Write(P(folder.path())) || file->Write(&why));
        EXPECT_EQ(ReadBytes(P(folder.path())), kOld);
    }
    ASSERT_TRUE(Write(P(folder.path())));
    EXPECT_FALSE(file->Write(&why)) << why.toStdString();
    EXPECT_EQ(ReadBytes(P(folder.path())), kNew);
}

}  // namespace
