// The show where things go wrong around it: pages that cannot be shown or
// whose process crashes, a display that goes away or is never there.

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
    WriteBytes(program_.file("lime.htm"), "<!DOCTYPE html><html><head><title>Lime Test Page</title></head>"
                                          "<body style=\"background:#20c040\"><p>A page.</p></body></html>");
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                            {Page("chrome://gpucrash"), Page("lime.htm", "CURRDIR"), Entry("long-red.mp4")}, {"/S"},
                            "3");
    const auto page = screen_.WaitForWindow("Lime Test Page");
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

// Without a display, or with one that cannot be opened, a start ends at
// once with a reason on standard error and in the log, and status 1.
TEST(HardshipE2E, StartWithoutADisplayEndsWithAReason) {
    const InstalledProgram program(":0");
    MakeClip(program.file("red.mp4"), ColourSource(kRed), 2);
    CollectionSpec spec;
    spec.entries = {{"red.mp4", "CURRDIR", {}, {}}};
    WriteBytes(program.file("ZORScr.INI"), CollectionText(spec));
    const std::pair<const char*, const char*> cases[] = {{nullptr, "no display to show on (DISPLAY is not set)"},
                                                         {":199", "cannot open the display \":199\""}};
    for (const auto& [display, reason] : cases) {
        for (const QStringList& arguments : {QStringList{"/S"}, QStringList{"--root"}}) {
            QFile::remove(program.file("ZORScr.Log"));  // the log of a collection without ErrorLog
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZORSCR_MPV_HEADLESS"})
                environment.remove(name);
            if (display) environment.insert("DISPLAY", display);
            QProcess run;
            run.setProcessEnvironment(environment);
            run.setWorkingDirectory(QFileInfo(program.file("ZORScr")).absolutePath());
            run.start(program.file("ZORScr"), arguments);
            ASSERT_TRUE(run.waitForFinished(5000)) << reason;
            EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << reason;
            EXPECT_EQ(run.exitCode(), 1) << reason;
            EXPECT_EQ(QString::fromLocal8Bit(run.readAllStandardError()).trimmed(), QStringLiteral("ZORScr: ") + reason);
            EXPECT_TRUE(ReadText(program.file("ZORScr.Log")).startsWith(reason)) << reason;
        }
    }
}

}  // namespace
