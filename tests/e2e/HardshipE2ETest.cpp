// The show where things go wrong around it: pages that cannot be shown or
// whose process crashes, a display that goes away, and the starts that
// cannot go on (no display, no collection, a command line that makes no sense).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/stat.h>

#include "ShowE2E.h"

using namespace testsupport;

namespace {

// The browser's renderer processes: its zygotes' children (forked, they
// carry the zygote's command line).
std::vector<qint64> Renderers(qint64 program) {
    std::vector<qint64> found;
    for (const qint64 helper : Descendants(program))
        for (const qint64 pid : Descendants(helper)) found.push_back(pid);
    return found;
}

// An address that would crash the browser is not opened, and a page whose
// process crashes stays blank: in both the display time ends the entry and
// the show goes on; the log says why each page stayed empty.
TEST_F(ShowE2E, PagesThatCannotShowOrCrashLeaveTheShowRunning) {
    const auto show =
        Start("SCREENSAVER_NOMOUSEMOVE", {Page("chrome://gpucrash"), LimePage(), Entry("long-red.mp4")}, {"/S"}, "3");
    const auto page = screen_.WaitForWindow(kLimeTitle);
    ASSERT_NE(page.id, 0u);
    ASSERT_TRUE(screen_.Shows(page.origin + QPoint(400, 260), kLime, 8));
    const std::vector<qint64> renderers = Renderers(show->processId());
    ASSERT_FALSE(renderers.empty());
    for (const qint64 pid : renderers) ::kill(pid_t(pid), SIGSEGV);

    EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, 30000));
    EXPECT_EQ(show->state(), QProcess::Running);
    const QString log = ReadText(program_.file("ZORError.Log"));
    EXPECT_TRUE(log.contains("The web page chrome://gpucrash cannot be shown: it is not a web page")) << log.toStdString();
    EXPECT_TRUE(log.contains("cannot be shown: its page process ended (crashed")) << log.toStdString();
}

// An error log named as a FIFO is a log that cannot be written: the show
// does not wait for a reader.
TEST_F(ShowE2E, ErrorLogThatIsAFifoDoesNotHoldTheShow) {
    const QString fifo = program_.file("log.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The first entry is logged at the start.
    WriteBytes(program_.file("ZORScr.INI"),
               CollectionText({.errorLog = fifo, .entries = {{"gone.mp4", "/nowhere/", {}, {}}, Entry("long-red.mp4")}}));
    const auto show = program_.Start({"/S"});
    EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, 5000));
}

// A session that ends under a clip or a page: the program ends by itself,
// not by a signal, with the status of a show that could not go on.
TEST(HardshipE2E, DisplayThatGoesAwayEndsTheProgramCleanly) {
    for (const bool page : {false, true}) {
        VirtualDisplay screen;
        const InstalledProgram program(screen.name());
        MakeClip(program.file("red.mp4"), ColourSource(kRed), 30);
        WriteBytes(program.file("red.htm"), "<html><body style=\"background:#c02020\"></body></html>");
        WriteBytes(program.file("ZORScr.INI"),
                   CollectionText({.delayTimer = "30", .entries = {page ? Page("red.htm", "CURRDIR") : Entry("red.mp4")}}));
        const auto show = program.Start({"/S"});
        ASSERT_TRUE(screen.Shows(kCentre, kRed, 40, 30000)) << "page " << page;
        screen.Kill();
        ASSERT_TRUE(show->waitForFinished(15000)) << "page " << page;
        EXPECT_EQ(show->exitStatus(), QProcess::NormalExit) << "page " << page;
        EXPECT_EQ(show->exitCode(), 1) << "page " << page;
    }
}

// Starts that cannot go on end at once, never by an abort: with status 1,
// the reason on standard error and in the log, where there is no display or
// host window to be had or no collection to show (those passed over for the program INI,
// missing here, are named too); with status 2 for a command line that makes
// no sense (a window id or idle time that is none among them) or needs an
// X11 window on a Wayland-only session. Help and the version go to standard
// output.
TEST(HardshipE2E, StartsThatCannotGoOnSayWhy) {
    const VirtualDisplay screen;
    const InstalledProgram program(screen.name());
    const QString folder = QFileInfo(program.file("ZORScr")).absolutePath();
    QDir(folder).mkdir("folder.INI");
    ::mkfifo(QFile::encodeName(program.file("fifo.INI")).constData(), 0600);
    QFile::link(program.file("loop.INI"), program.file("loop.INI"));
    WriteBytes(program.file("empty.INI"), {});
    WriteBytes(program.file("utf16.INI"), QByteArray("[\0Z\0O\0R\0]\0\n\0", 12));
    QFile large(program.file("large.INI"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(65 << 20));
    const QString noIni = "ZORScr.INI cannot be shown: it does not exist";
    const std::map<QString, QString> x11{{"DISPLAY", screen.name()}}, wayland9{{"WAYLAND_DISPLAY", "wayland-9"}};
    const struct {
        std::map<QString, QString> environment;
        QStringList arguments;
        int status;
        QString out, err;  // what each holds; empty: nothing at all
        bool logged = true;  // with status 1
    } cases[] = {
        {{}, {"--help"}, 0, "Exit status:", ""},
        {{}, {"/S", "-h"}, 0, "Usage: zorscr", ""},
        {{}, {"--version"}, 0, "ZORScr " ZORSCR_VERSION "\n", ""},
        {{}, {"--frobnicate", "--help"}, 2, "", "ZORScr: unknown switch --frobnicate\nUsage: zorscr"},
        {{}, {"--setup", "kde"}, 2, "", "Usage: zorscr"},
        {{}, {"/S"}, 1, "", "no display to show on (neither WAYLAND_DISPLAY nor DISPLAY is set)"},
        {{{"DISPLAY", ":199"}}, {"--root"}, 1, "", "cannot open the display \":199\""},
        {x11, {program.file("folder.INI")}, 1, "", "folder.INI is not used as a collection: it is a folder"},
        {x11, {"--root", program.file("fifo.INI")}, 1, "", "fifo.INI is not used as a collection: it is not a regular file"},
        {x11, {"/dev/zero"}, 1, "", "/dev/zero is not used as a collection: it is not a regular file"},
        {x11, {program.file("loop.INI")}, 1, "", "loop.INI is not used as a collection: it is a symbolic link that leads round"},
        {x11, {program.file("empty.INI")}, 1, "", "empty.INI cannot be shown: it is empty"},
        {x11, {program.file("utf16.INI")}, 1, "", "utf16.INI cannot be shown: it has no [ZOR] section"},
        {x11, {program.file("large.INI")}, 1, "", "large.INI cannot be shown: it is larger than 64 MiB"},
        {{{"QT_QPA_PLATFORM", "wayland"}}, {"/S"}, 1, "", "cannot open the Wayland display \"wayland-0\": "},
        {wayland9, {"/S"}, 1, "", "cannot open the Wayland display \"wayland-9\": "},
        {{{"QT_QPA_PLATFORM", "nosuch"}}, {"/S"}, 1, "", "Qt's platform plugin \"nosuch\" is not installed"},
        {wayland9, {"--root"}, 2, "", "needs an X display"},
        {wayland9, {"/P", "1234"}, 2, "", "needs an X display"},
        {x11, {"-window-id", "twelve"}, 2, "", "--window-id needs a window id, not \"twelve\""},
        {x11, {"--window-id", "0x7ffffff"}, 1, "", "no window 0x7ffffff on the display", false},
        {{{"DISPLAY", screen.name()}, {"XSCREENSAVER_WINDOW", "4294967296"}}, {"--root"}, 2, "",
         "XSCREENSAVER_WINDOW \"4294967296\" is not a window id"},
        {x11, {"--idle"}, 2, "", "--idle needs the seconds of idleness before the show"},
        {x11, {"--idle", "0"}, 2, "", "--idle needs the seconds of idleness before the show"},
        {x11, {"--idle", "soon"}, 2, "", "--idle needs the seconds of idleness before the show"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err.isEmpty() ? c.arguments.join(u' ').toStdString() : c.err.toStdString());
        QFile::remove(program.file("ZORScr.Log"));  // the log of a start that has read no ErrorLog
        std::map<QString, QString> environment = NoDisplay();
        environment["XDG_RUNTIME_DIR"] = folder;
        for (const auto& [name, value] : c.environment) environment[name] = value;
        const Ran ran = RunProgram(program.file("ZORScr"), c.arguments, environment, folder, 10000);
        EXPECT_EQ(ran.code, c.status);
        EXPECT_TRUE(c.out.isEmpty() ? ran.out.isEmpty() : ran.out.contains(c.out)) << ran.out.toStdString();
        EXPECT_TRUE(c.err.isEmpty() ? ran.err.isEmpty() : ran.err.contains("ZORScr: ") && ran.err.contains(c.err))
            << ran.err.toStdString();
        const QString logged = ReadText(program.file("ZORScr.Log"));
        EXPECT_TRUE(c.status != 1 || !c.logged || logged.contains(c.err) || logged.contains(noIni)) << logged.toStdString();
    }
}

}  // namespace
