// The show where things go wrong around it: pages that cannot be shown or
// whose process crashes, a display that goes away or is never there.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
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
    CollectionSpec spec;
    spec.errorLog = fifo;
    spec.entries = {{"gone.mp4", "/nowhere/", {}, {}}, Entry("long-red.mp4")};  // the first is logged at the start
    WriteBytes(program_.file("ZORScr.INI"), CollectionText(spec));
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
        CollectionSpec spec;
        spec.delayTimer = "30";
        spec.entries = {{page ? "red.htm" : "red.mp4", "CURRDIR", {{{"Main", 14}, page ? "True" : "False"}}, {}}};
        WriteBytes(program.file("ZORScr.INI"), CollectionText(spec));
        const auto show = program.Start({"/S"});
        ASSERT_TRUE(screen.Shows(kCentre, kRed, 40, 30000)) << "page " << page;
        screen.Kill();
        ASSERT_TRUE(show->waitForFinished(15000)) << "page " << page;
        EXPECT_EQ(show->exitStatus(), QProcess::NormalExit) << "page " << page;
        EXPECT_EQ(show->exitCode(), 1) << "page " << page;
    }
}

// Starts that cannot show end at once with status 1, the reason on
// standard error and in the log: without a display or with one that cannot
// be opened, and on collections that cannot be read (those passed over for
// the program INI, missing here, are named too).
TEST(HardshipE2E, StartsThatCannotShowSayWhy) {
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
    const std::tuple<const char*, QString, QStringList> cases[] = {
        {nullptr, "no display to show on (neither WAYLAND_DISPLAY nor DISPLAY is set)", {"/S"}},
        {":199", "cannot open the display \":199\"", {"--root"}},
        {"", "folder.INI is not used as a collection: it is a folder", {program.file("folder.INI")}},
        {"", "fifo.INI is not used as a collection: it is not a regular file", {"--root", program.file("fifo.INI")}},
        {"", "/dev/zero is not used as a collection: it is not a regular file", {"/dev/zero"}},
        {"", "loop.INI is not used as a collection: it is a symbolic link that leads round", {program.file("loop.INI")}},
        {"", "empty.INI cannot be shown: it is empty", {program.file("empty.INI")}},
        {"", "utf16.INI cannot be shown: it has no [ZOR] section", {program.file("utf16.INI")}},
        {"", "large.INI cannot be shown: it is larger than 64 MiB", {program.file("large.INI")}},
    };
    for (const auto& [display, reason, arguments] : cases) {
        QFile::remove(program.file("ZORScr.Log"));  // the log of a start that has read no ErrorLog
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZORSCR_MPV_HEADLESS"})
            environment.remove(name);
        if (display) environment.insert("DISPLAY", *display ? QString(display) : screen.name());
        environment.insert("XDG_RUNTIME_DIR", folder);
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setWorkingDirectory(folder);
        run.start(program.file("ZORScr"), arguments);
        ASSERT_TRUE(run.waitForFinished(5000)) << reason.toStdString();
        const QString said = QString::fromLocal8Bit(run.readAllStandardError());
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << reason.toStdString();
        EXPECT_EQ(run.exitCode(), 1) << reason.toStdString();
        EXPECT_TRUE(said.startsWith("ZORScr: ") && said.contains(reason)) << said.toStdString();
        const QString logged = ReadText(program.file("ZORScr.Log"));
        EXPECT_TRUE(logged.contains(reason) || logged.contains(noIni)) << logged.toStdString();
    }
}

}  // namespace
