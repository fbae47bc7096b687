// The show as a person sees it, on a virtual display with clips and stills
// made at test time, and where things go wrong around it. (Starts that
// cannot go on: StartupE2E.)

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QThread>
#include <csignal>
#include <sys/stat.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// Entries that cannot play are passed over; a still without a size fills
// the screen's height at its own proportions and stays for its delay. A
// show without pages does not load the browser engine. Where the show does
// not watch the mouse, a key moves on (one entry a key press:
// ShowInputTest), and so does a click: a double click is one click. A still
// whose file has gone when its turn comes shows the location error, and the
// show ends once it is answered.
TEST_F(ShowE2E, EntriesPlayInOrderAndWrap) {
    WriteBytes(program_.file("not-a-video.mp4"), QByteArray(4096, 'x'));
    WriteBytes(program_.file("empty.mp4"), {});
    MakeLongGreenAndBlue();
    const EntrySpec noSize = Entry("yellow.png", {{{"Looping", 7}, "0"}, {{"Looping", 8}, "0"}, {{"Looping", 9}, "True"}});
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                            {OwnSize("not-a-video.mp4"), Entry("empty.mp4"), Entry("red.mp4"),
                             Entry("green.mp4"), Entry("blue.mp4"), noSize, Entry("long-red.mp4"), Entry("long-green.mp4"),
                             Entry("long-blue.mp4")});
    for (const QColor& c : {kRed, kGreen, kBlue}) ASSERT_TRUE(screen_.Shows(kCentre, c)) << qPrintable(c.name());
    EXPECT_FALSE(ReadText(QStringLiteral("/proc/%1/maps").arg(show->processId())).contains("WebEngine"));
    EXPECT_EQ(screen_.Xdotool({"search", "--onlyvisible", "--maxdepth", "1", "--name", "ZORScr"}), "");  // the show's caption is empty
    // 400 x 300 scaled to the screen's height of 720 is 960 wide, centred: x 160 to 1120.
    ASSERT_TRUE(screen_.Shows({640, 5}, kYellow));
    QElapsedTimer still;
    still.start();
    const QImage screen = screen_.Screen();
    for (const auto& [x, y, colour] : {std::tuple{1110, 360, kYellow}, {1130, 360, QColor(Qt::black)}})
        EXPECT_TRUE(VirtualDisplay::Near(screen.pixelColor(x, y), colour)) << x << ',' << y;
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    EXPECT_GE(still.elapsed(), 1000);  // the still stayed for its delay, not a moment
    screen_.Xdotool({"key", "a"});
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    screen_.Xdotool({"mousemove", "640", "360", "click", "--repeat", "2", "--delay", "60", "1"});  // one click
    ASSERT_TRUE(screen_.Shows(kCentre, kBlue));
    QThread::msleep(2000);
    EXPECT_TRUE(screen_.Shows(kCentre, kBlue, 40, 0)) << "the show moved on again";
    screen_.Xdotool({"key", "a"});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));  // wrapped, over the entries that cannot play

    QFile::remove(program_.file("yellow.png"));
    ASSERT_NE(screen_.WaitForWindow("ZOR Movie Location error").id, 0u);
    EXPECT_EQ(show->state(), QProcess::Running);  // until the box is answered
    EXPECT_TRUE(screen_.Answer("ZOR Movie Location error", "Return"));
    EXPECT_TRUE(show->EndsCleanly());
    EXPECT_TRUE(Log().contains("Picture error: " + program_.file("yellow.png") + ": File not found")) << qPrintable(Log());
}

// An entry that shows nothing is passed over and logged with the reason: a
// clip replaced by a FIFO during the show and a device read without end
// (both refused at once), a server that never answers (after the opening
// bound of 15 s: all three within 25 s).
TEST_F(ShowE2E, AnEntryThatNeverOpensIsSkipped) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString server = QStringLiteral("http://127.0.0.1:%1/clip.mp4").arg(silent.serverPort());
    const QString stuck = program_.file("stuck.mp4");
    ASSERT_TRUE(QFile::copy(program_.file("green.mp4"), stuck));  // a clip when the show starts
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("blue.mp4"), Entry("green.mp4"), Entry("stuck.mp4"), EntrySpec{server, "", {}, {}},
                                                        EntrySpec{"file:///dev/zero", "", {}, {}}, Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kBlue));
    // Before the entry ahead of it starts, which prepares it.
    ASSERT_TRUE(QFile::remove(stuck));
    ASSERT_EQ(::mkfifo(QFile::encodeName(stuck).constData(), 0600), 0);
    ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
    EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, 25000));
    EXPECT_EQ(show->state(), QProcess::Running);
    for (const char* logged : {"not a regular file (a FIFO)", "nothing to show within 15 s", "not a regular file (a character device)"})
        EXPECT_TRUE(Log().contains(QLatin1String(logged))) << qPrintable(Log());
}

// At a change between clips at their own size the old picture is never
// drawn at the new size (it was, scaled up, for 0.2 to 0.4 s). A small red
// clip and a big green one, from a web server so that it is opened afresh in
// the player that showed the red one, take turns; the pixels watched lie in
// the green clip's boxes (its own size, then a square of its height) and
// outside every box of the red one. (A size that comes late is taken and
// reported: Med_SaverTest; the show then places the clip by the rule here.)
TEST_F(ShowE2E, AChangeOfSizeNeverShowsTheOldClipInTheNewPlace) {
    MakeClip(program_.file("small.mp4"), ColourSource(kRed, 320, 180), 2);
    MakeClip(program_.file("big.mp4"), ColourSource(kGreen, 960, 540), 2);
    // A web server for the program's folder; unbuffered, it names its port on standard output before it serves.
    const auto web = StartWith(QProcessEnvironment::systemEnvironment(), "python3",
                               {"-u", "-m", "http.server", "--bind", "127.0.0.1", "0"}, program_.file(""));
    ASSERT_TRUE(web->waitForReadyRead(10000)) << "the web server did not start";
    const QString port = QRegularExpression(" port (\\d+) ").match(QString::fromUtf8(web->readLine())).captured(1);
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {OwnSize("small.mp4"), OwnSize("http://127.0.0.1:" + port + "/big.mp4", "")});
    const PixelProbe probe(screen_.name());
    // In the green clip's 960 x 540 box, then in its 540 x 540 one.
    const QPoint watched[] = {{250, 150}, {400, 230}};
    int reds = 0, greens = 0;
    bool wasGreen = false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {  // two rounds
        for (const QPoint& at : watched) reds += VirtualDisplay::Near(probe.At(at.x(), at.y()), kRed);
        const bool green = VirtualDisplay::Near(probe.At(watched[1].x(), watched[1].y()), kGreen);
        greens += green && !wasGreen;
        wasGreen = green;
        QThread::usleep(500);
    }
    EXPECT_GE(greens, 2);  // the big clip came in both rounds
    EXPECT_EQ(reds, 0);
    EXPECT_EQ(show->state(), QProcess::Running);
}

// A page stays until the user presses Continue Show (on to the next entry)
// or the bare toolbar (the end; Quit Show: PasswordE2E): the display time 0
// leaves it to them.
TEST_F(ShowE2E, PageButtonsEndTheEntryOrTheShow) {
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {LimePage(), Entry("red.mp4")}, {"/S"}, "0");
    for (const QPoint& button : {kContinueShow, kBareToolbar}) {  // the page twice: red is a clip of 2 s
        const auto window = screen_.WaitForWindow(kLimeTitle);
        ASSERT_NE(window.id, 0u);
        // A press before the page is drawn would be lost: a person presses what they see.
        ASSERT_TRUE(screen_.Shows(window.origin + kInsidePage, kLime, 8)) << "the page was not drawn";
        screen_.Click(window.origin + button);
        if (button == kContinueShow) ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    }
    EXPECT_TRUE(show->EndsCleanly());
}

// --fill: a full-screen clip or still of 4:3 on the 16:9 screen covers it,
// cropped, where it fits between black bars without (a still without:
// EntriesPlayInOrderAndWrap); an entry at its own size stays as it is.
// Where the show watches the mouse, movement ends it.
TEST_F(ShowE2E, FillCoversTheScreenWithFullScreenEntriesAndMouseMovementEndsTheShow) {
    const QPoint beside(20, 360);  // left of a 4:3 picture fitted to the screen's height
    const std::tuple<EntrySpec, bool, QColor> rows[] = {
        {Entry("long-red.mp4"), false, Qt::black}, {Entry("long-red.mp4"), true, kRed},
        {Still("yellow.png"), true, kYellow}, {OwnSize("long-red.mp4"), true, Qt::black}};
    for (const auto& [entry, fill, besideColour] : rows) {
        SCOPED_TRACE(testing::Message() << qPrintable(entry.movieName) << (fill ? " --fill" : ""));
        const auto show = Start("SCREENSAVER", {entry}, fill ? QStringList{"/S", "--fill"} : QStringList{"/S"});
        ASSERT_TRUE(screen_.Shows(kCentre, entry.movieName == "yellow.png" ? kYellow : kRed));
        EXPECT_TRUE(VirtualDisplay::Near(screen_.Screen().pixelColor(beside), besideColour));
        // Until the show gives way: moves while the show loop starts are lost.
        for (int rounds = 0; rounds < 20 && show->state() == QProcess::Running; ++rounds) {
            MoveMouse();
            show->waitForFinished(500);
        }
        EXPECT_TRUE(show->EndsCleanly());
    }
}

// Pages that show nothing leave the show running: an address that would
// crash the browser is not opened, a page whose process crashes stays
// blank, and the display time, raised to ten seconds for an address that
// never answers or cannot be read, ends each; the log says why each stayed empty.
TEST_F(ShowE2E, PagesThatShowNothingLeaveTheShowRunning) {
    QTcpServer silent;  // takes connections (the system does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                            {Page("chrome://gpucrash"), LimePage(), Page(QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort())),
                             Page("http://[::1"), Entry("long-red.mp4")},
                            {"/S"}, "3");
    const auto page = screen_.WaitForWindow(kLimeTitle);
    ASSERT_NE(page.id, 0u);
    ASSERT_TRUE(screen_.Shows(page.origin + QPoint(400, 260), kLime, 8));
    std::vector<qint64> renderers;  // the browser's renderer processes: its zygotes' children
    for (const qint64 helper : Descendants(show->processId()))
        for (const qint64 pid : Descendants(helper)) renderers.push_back(pid);
    ASSERT_FALSE(renderers.empty());
    for (const qint64 pid : renderers) ::kill(pid_t(pid), SIGSEGV);
    QElapsedTimer clock;
    clock.start();
    EXPECT_NE(screen_.WaitForWindow("Working...").id, 0u);
    EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, 60000));
    EXPECT_GE(clock.elapsed(), 20000);
    EXPECT_EQ(show->state(), QProcess::Running);
    EXPECT_TRUE(Log().contains("The web page chrome://gpucrash cannot be shown: it is not a web page")) << qPrintable(Log());
    EXPECT_TRUE(Log().contains("cannot be shown: its page process ended (crashed")) << qPrintable(Log());
}

// A session that ends under a clip or a page: the program ends by itself,
// not by a signal, with the status of a show that could not go on. The
// error log is a FIFO, a log that cannot be written: the show does not wait
// for a reader (the first entry, gone, is logged at the start).
TEST(HardshipE2E, DisplayThatGoesAwayEndsTheProgramCleanly) {
    for (const bool page : {false, true}) {
        SCOPED_TRACE(page ? "a page" : "a clip");
        VirtualDisplay screen;
        const InstalledProgram program(screen.name());
        MakeClip(program.file("red.mp4"), ColourSource(kRed), 30);
        WriteBytes(program.file("red.htm"), "<html><body style=\"background:#c02020\"></body></html>");
        const QString fifo = program.file("log.fifo");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        WriteBytes(program.file("ZORScr.INI"),
                   CollectionText({.errorLog = fifo, .delayTimer = "30",
                                   .entries = {{"gone.mp4", "/nowhere/", {}, {}}, page ? Page("red.htm", "CURRDIR") : Entry("red.mp4")}}));
        const auto show = program.Start({"/S"});
        ASSERT_TRUE(screen.Shows(kCentre, kRed, 40, 30000));
        screen.Kill();
        ASSERT_TRUE(show->waitForFinished(15000));
        EXPECT_EQ(show->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(show->exitCode(), 1);
    }
}

}  // namespace
