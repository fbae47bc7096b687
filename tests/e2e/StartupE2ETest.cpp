// The real executable's starts: the ones that cannot go on, on crafted
// collection files (also killed in the middle of their write-backs), and
// beside a running show.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "support/CollectionFile.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

class StartupE2E : public ::testing::Test {
protected:
    QString Ini() const { return program_.file("ZORScr.INI"); }
    QString Log() const { return program_.file("ZORError.Log"); }
    QString LongLog() const { return program_.file(QString(150, u'a')); }
    // One entry whose file is there and one whose file has gone, which the
    // show logs and drops before it starts.
    QByteArray Collection(const QString& errorLog = {}) const {
        WriteBytes(program_.file("clip.mkv"), "x");
        return CollectionText(
            {.errorLog = errorLog, .entries = {{program_.file("clip.mkv"), "CURRDIR", {}, {}}, {"gone.mkv", "/nowhere/", {}, {}}}});
    }

    VirtualDisplay screen_;
    InstalledProgram program_{screen_.name()};
};

// Starts that cannot go on end at once, never by an abort: with status 1,
// the reason on standard error and in the log, where there is no display or
// host window to be had or no collection to show (those passed over for the program INI,
// missing here, are named too); with status 2 for a command line that makes
// no sense (a window id or idle time that is none among them) or needs an
// X11 window on a Wayland-only session. Help and the version go to standard
// output. The program's own collection file that it cannot use, a write-back
// the file cannot take or must not make, and a preview without a window:
// the program ends and leaves the file as it was, and its log says why.
TEST_F(StartupE2E, StartsThatCannotGoOnSayWhy) {
    const QString folder = QFileInfo(program_.file("ZORScr")).absolutePath();
    QDir(folder).mkdir("folder.INI");
    ::mkfifo(QFile::encodeName(program_.file("fifo.INI")).constData(), 0600);
    QFile::link(program_.file("loop.INI"), program_.file("loop.INI"));
    WriteBytes(program_.file("empty.INI"), {});
    QFile large(program_.file("large.INI"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(65 << 20));
    const QString noIni = "ZORScr.INI cannot be shown: it does not exist";
    const std::map<QString, QString> x11{{"DISPLAY", screen_.name()}}, wayland9{{"WAYLAND_DISPLAY", "wayland-9"}};
    // out, err: what each holds, empty: nothing at all, null: not looked at;
    // logged: the reason in the log, with status 1; ini: ZORScr.INI (none
    // when null) and whether it is read-only; inLog: what the log holds besides.
    const struct { std::map<QString, QString> environment; QStringList arguments; int status; QString out, err; bool logged = true;
                   QByteArray ini = {}; bool readOnly = false; QString inLog = {}; } cases[] = {
        {{}, {"--help"}, 0, "Exit status:", ""},
        {{}, {"--version"}, 0, "ZORScr " ZORSCR_VERSION "\n", ""},
        {{}, {"--frobnicate", "--help"}, 2, "", "ZORScr: unknown switch --frobnicate\nUsage: zorscr"},
        {{}, {"/S"}, 1, "", "no display to show on (neither WAYLAND_DISPLAY nor DISPLAY is set)"},
        {{{"DISPLAY", ":199"}}, {"--root"}, 1, "", "cannot open the display \":199\""},
        {x11, {program_.file("folder.INI")}, 1, "", "folder.INI is not used as a collection: it is a folder"},
        {x11, {"--root", program_.file("fifo.INI")}, 1, "", "fifo.INI is not used as a collection: it is not a regular file"},
        {x11, {program_.file("loop.INI")}, 1, "", "loop.INI is not used as a collection: it is a symbolic link that leads round"},
        {x11, {program_.file("empty.INI")}, 1, "", "empty.INI cannot be shown: it is empty"},
        {x11, {program_.file("large.INI")}, 1, "", "large.INI cannot be shown: it is larger than 64 MiB"},
        {{{"QT_QPA_PLATFORM", "wayland"}}, {"/S"}, 1, "", "cannot open the Wayland display \"wayland-0\": "},
        {wayland9, {"/S"}, 1, "", "cannot open the Wayland display \"wayland-9\": "},
        {{{"QT_QPA_PLATFORM", "nosuch"}}, {"/S"}, 1, "", "Qt's platform plugin \"nosuch\" is not installed"},
        {wayland9, {"--root"}, 2, "", "needs an X display"},
        {x11, {"--window-id", "0x7ffffff"}, 1, "", "no window 0x7ffffff on the display", false},
        {x11, {"-window-id", "twelve"}, 2, "", "--window-id needs a window id, not \"twelve\""},
        {x11, {"--idle"}, 2, "", "--idle needs the seconds of idleness before the show"},
        {x11, {"--idle", "0"}, 2, "", "--idle needs the seconds of idleness before the show"},
        {x11, {"/S"}, 0, {}, {}, true, Collection(Log()).left(700)},
        {x11, {"/S"}, 1, {}, {}, false, QByteArray(50 << 20, '='), false, "ZORScr.INI cannot be shown: it has no [ZOR] section"},
        // ErrorLog is empty: it would be written back
        {x11, {"/S"}, 1, {}, {}, false, Collection(), true, "ZORScr.INI cannot be shown: it is read-only"},
        {x11, {"/P"}, 0, {}, {}, true, Collection(Log()), false, "<<ERR002>> - Hwnd API Failure 13 Type mismatch Error Logged at >> "},
        // A long ErrorLog is used whole, and kept; last: nothing is logged to ZORError.Log.
        {x11, {"/P"}, 0, {}, {}, true, Collection(LongLog()), false, "<<ERR002>> - Hwnd API Failure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.err.isEmpty() ? c.arguments.join(u' ') + u' ' + c.inLog : c.err).toStdString());
        // ZORScr.Log: the log of a start that has read no ErrorLog.
        for (const QString& file : {Log(), Ini(), program_.file("ZORScr.Log"), LongLog()}) QFile::remove(file);
        if (!c.ini.isNull()) WriteBytes(Ini(), c.ini);
        if (c.readOnly) QFile::setPermissions(Ini(), QFile::ReadOwner | QFile::ReadGroup);
        std::map<QString, QString> environment = NoDisplay(folder);
        for (const auto& [name, value] : c.environment) environment[name] = value;
        const Ran ran = RunProgram(program_.file("ZORScr"), c.arguments, environment, folder, 20000);
        EXPECT_EQ(ran.code, c.status);
        EXPECT_TRUE(c.out.isNull() || (c.out.isEmpty() ? ran.out.isEmpty() : ran.out.contains(c.out))) << ran.out.toStdString();
        EXPECT_TRUE(c.err.isNull() || (c.err.isEmpty() ? ran.err.isEmpty() : ran.err.contains("ZORScr: ") && ran.err.contains(c.err)))
            << ran.err.toStdString();
        const QString logged = ReadText(Log()) + ReadText(program_.file("ZORScr.Log")) + ReadText(LongLog());
        EXPECT_TRUE(c.status != 1 || !c.logged || logged.contains(c.err) || logged.contains(noIni)) << logged.toStdString();
        EXPECT_TRUE(logged.contains(c.inLog)) << logged.toStdString();
        EXPECT_EQ(QFile::exists(Ini()) ? ReadBytes(Ini()) : QByteArray(), c.ini);
        EXPECT_FALSE(QFile::exists(program_.file("ZORScr.lock")));  // the last copy to end removes it
    }
    EXPECT_FALSE(QFile::exists(Log()));
}

// A second "/S" or "/P" while a show runs, and a "/P" while a window called
// Zorascope exists, end before they read the collection; "/C" and "/S" go on.
TEST_F(StartupE2E, StartsThatEndAtOnce) {
    const QByteArray text = Collection();
    const auto start = [&](const QStringList& arguments) {  // its exit code, and whether it read the file
        WriteBytes(Ini(), text);
        const int exitCode = program_.Run(arguments, [&] { return ReadBytes(Ini()) != text; });
        return std::pair(exitCode, ReadBytes(Ini()) != text);
    };
    const std::pair endsAtOnce(0, false), goesOn(-1, true);
    WriteBytes(Ini(), text);
    auto first = program_.Start({"/S"});
    WaitUntil([&] { return QFile::exists(Log()); }, 20000, 50);
    EXPECT_EQ(start({"/S"}), endsAtOnce);
    EXPECT_EQ(start({"/P", "77"}), endsAtOnce);
    EXPECT_EQ(start({"/C"}), goesOn);
    EXPECT_EQ(first->state(), QProcess::Running);
    first.reset();
    ASSERT_NE(screen_.OpenWindow("zoraSCOPE").id, 0u);
    EXPECT_EQ(start({"/P", "1234"}), endsAtOnce);
    EXPECT_EQ(start({"/S"}), goesOn);
}

// Starts "/P" (which writes back, then ends for want of a window) and kills
// it as its temporary file appears beside the collection; false when it
// ended first. inotify rather than polling: the kill lands mid-write.
bool KillAtTemporary(const InstalledProgram& program) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(watch, QFile::encodeName(program.file(".")).constData(), IN_CREATE);
    const auto process = program.Start({"/P"});
    alignas(inotify_event) char events[4096];
    pollfd ready{watch, POLLIN, 0};
    bool killed = false;
    for (int waited = 0; !killed && waited < 20000 && !process->waitForFinished(0); waited += 50) {
        if (::poll(&ready, 1, 50) <= 0) continue;
        const ssize_t length = ::read(watch, events, sizeof events);
        for (char* at = events; !killed && at < events + length;
             at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            killed = (event->mask & IN_CREATE) && QByteArray(event->name).startsWith(".ZORScr.INI.");
        }
    }
    if (killed) process->kill();
    ::close(watch);
    return killed;
}

// A run mode to correct: a write-back rewriting a collection padded to a
// few megabytes so it takes a while. A kill leaves the file as it was or
// corrected, and may leave a temporary; the next start removes it. (Every
// write-back, of the user values too, is written the same way.)
TEST_F(StartupE2E, KilledWriteBacksLeaveNoTemporaries) {
    const QString ini = Ini();
    const auto temporaries = [&] { return QDir(program_.file(".")).entryList({".ZORScr.INI.*"}, QDir::Files | QDir::Hidden); };
    QByteArray text = CollectionText({.runAs = "", .errorLog = Log()}) + "[Padding]\n";
    for (int i = 0; i < 40000; ++i) text += "k" + QByteArray::number(i) + "=" + QByteArray(40, 'p') + "\n";
    const QByteArray corrected = QByteArray(text).replace("RunAs=\n", "RunAs=SCREENSAVER\n");

    int leftBehind = 0;
    for (int i = 0; i < 100; ++i) {
        WriteBytes(ini, text);
        ASSERT_TRUE(KillAtTemporary(program_)) << "run " << i;
        const QByteArray left = ReadBytes(ini);
        EXPECT_TRUE(left == text || left == corrected) << "run " << i;
        leftBehind += temporaries().size();
        EXPECT_LE(temporaries().size(), 1) << "run " << i;  // each start removes the ones before
    }
    EXPECT_GT(leftBehind, 0);  // the kills did land mid-write

    WriteBytes(ini, text);
    EXPECT_EQ(program_.Run({"/P"}), 0);
    EXPECT_EQ(ReadBytes(ini), corrected);
    EXPECT_EQ(temporaries(), QStringList());
}

}  // namespace
