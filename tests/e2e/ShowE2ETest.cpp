// The show as a person sees it: the real program on a virtual display with
// clips and stills made at test time, watched through screenshots and
// driven with the mouse and the keyboard.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <sys/stat.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// A web server for a folder, on a free port, listening once made; the
// answer to its first request can be held back.
class WebServer {
public:
    WebServer(const VirtualDisplay& screen, const QString& folder, int firstAnswerDelaySeconds = 0) {
        QTcpServer free;
        if (free.listen(QHostAddress::LocalHost)) port_ = free.serverPort();
        free.close();
        static const char* kServer =
            "import http.server, sys, time\n"
            "class Handler(http.server.SimpleHTTPRequestHandler):\n"
            "    delay = float(sys.argv[2])\n"
            "    def do_GET(self):\n"
            "        time.sleep(Handler.delay)\n"
            "        Handler.delay = 0\n"
            "        super().do_GET()\n"
            "http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), Handler).serve_forever()\n";
        process_ = StartOn(screen.name(), "python3",
                           {"-c", kServer, QString::number(port_), QString::number(firstAnswerDelaySeconds)}, folder);
        WaitUntil([this] {  // until it listens
            QTcpSocket up;
            up.connectToHost(QHostAddress::LocalHost, port_);
            return up.waitForConnected(100);
        }, 10000);
    }
    QString Address(const QString& name) const { return QStringLiteral("http://127.0.0.1:%1/").arg(port_) + name; }

private:
    quint16 port_ = 0;
    std::unique_ptr<ChildProcess> process_;
};

// Entries that cannot play are passed over; a still without a size fills
// the screen's height at its own proportions and stays for its delay.
TEST_F(ShowE2E, EntriesPlayInOrderAndWrap) {
    WriteBytes(program_.file("not-a-video.mp4"), QByteArray(4096, 'x'));
    WriteBytes(program_.file("empty.mp4"), {});
    const EntrySpec noSize = Entry("yellow.png", {{{"Looping", 7}, "0"}, {{"Looping", 8}, "0"}, {{"Looping", 9}, "True"}});
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {OwnSize("not-a-video.mp4"), Entry("empty.mp4"), Entry("red.mp4"),
                                                        Entry("green.mp4"), Entry("blue.mp4"), noSize});
    for (const QColor& c : {kRed, kGreen, kBlue}) ASSERT_TRUE(screen_.Shows(kCentre, c)) << qPrintable(c.name());
    EXPECT_EQ(screen_.Xdotool({"search", "--onlyvisible", "--maxdepth", "1", "--name", "ZORScr"}), "");  // the show window's caption is empty
    // 400 x 300 scaled to the screen's height of 720 is 960 wide, centred: x 160 to 1120.
    ASSERT_TRUE(screen_.Shows({640, 5}, kYellow));
    QElapsedTimer still;
    still.start();
    const QImage screen = screen_.Screen();
    for (const auto& [x, y, colour] : {std::tuple{640, 715, kYellow}, {170, 360, kYellow}, {1110, 360, kYellow},
                                       {150, 360, QColor(Qt::black)}, {1130, 360, QColor(Qt::black)}})
        EXPECT_TRUE(VirtualDisplay::Near(screen.pixelColor(x, y), colour)) << x << ',' << y;
    EXPECT_TRUE(screen_.Shows(kCentre, kRed));
    EXPECT_GE(still.elapsed(), 1000);  // the still stayed for its delay, not a moment
    EXPECT_EQ(show->state(), QProcess::Running);
}

// Where the show watches the mouse, movement ends it. (Where it does not,
// keys: below.)
TEST_F(ShowE2E, MouseMovementEndsTheShow) {
    const auto show = Start("SCREENSAVER", {Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    // A person moves the mouse until the show gives way: the first moves are
    // lost while the show loop starts the first clip once more.
    for (int rounds = 0; rounds < 20 && show->state() == QProcess::Running; ++rounds) {
        MoveMouse();
        show->waitForFinished(500);
    }
    EXPECT_TRUE(show->EndsCleanly());
}

// A show of clips starts without the browser engine. Where the show does not
// watch the mouse, a key moves on: on a machine kept busy, one key press by
// one entry; Escape ends the show. An entry whose names are empty is logged
// without NUL bytes.
TEST_F(ShowE2E, OneKeyOneSkipAndAReadableLog) {
    MakeClip(program_.file("long-green.mp4"), ColourSource(kGreen), 30);
    MakeClip(program_.file("long-blue.mp4"), ColourSource(kBlue), 30);
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {EntrySpec{"", "", {}, {}}, Entry("long-red.mp4"),
                                                        Entry("long-green.mp4"), Entry("long-blue.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    // A show without pages does not load the browser engine.
    EXPECT_FALSE(ReadText(QStringLiteral("/proc/%1/maps").arg(show->processId())).contains("WebEngine"));
    QThread::msleep(1500);  // a key in the first moment is lost (see above)
    {
        std::vector<std::unique_ptr<ChildProcess>> hogs;
        for (int core = 0; core < QThread::idealThreadCount(); ++core) {
            hogs.push_back(std::make_unique<ChildProcess>());
            hogs.back()->start("sh", {"-c", "while :; do :; done"});
        }
        screen_.Xdotool({"key", "a"});
        ASSERT_TRUE(screen_.Shows(kCentre, kGreen, 40, 30000));
        QThread::msleep(3000);
        EXPECT_TRUE(screen_.Shows(kCentre, kGreen, 40, 0)) << "a second entry was skipped";
    }
    screen_.Xdotool({"key", "a"});
    ASSERT_TRUE(screen_.Shows(kCentre, kBlue));
    screen_.Xdotool({"key", "a"});
    EXPECT_TRUE(screen_.Shows(kCentre, kRed));  // wrapped, over the empty entry
    screen_.Xdotool({"key", "Escape"});
    EXPECT_TRUE(show->EndsCleanly());
    const QString log = ReadText(program_.file("ZORError.Log"));
    EXPECT_TRUE(log.contains("<<ERR037>> - The File  has been moved")) << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(u'\0')));
}

TEST_F(ShowE2E, MissingStillShowsTheLocationErrorAndEndsAfterOk) {
    QFile::copy(program_.file("yellow.png"), program_.file("going.png"));
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4"), Still("going.png")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    QFile::remove(program_.file("going.png"));
    ASSERT_NE(screen_.WaitForWindow("ZOR Movie Location error").id, 0u);
    EXPECT_EQ(show->state(), QProcess::Running);  // until the box is answered
    EXPECT_TRUE(screen_.Answer("ZOR Movie Location error", "Return"));
    EXPECT_TRUE(show->EndsCleanly());
    const QString log = ReadText(program_.file("ZORError.Log"));
    EXPECT_TRUE(log.contains("Picture error: " + program_.file("going.png") + ": File not found")) << qPrintable(log);
}

// An entry that shows nothing is passed over like a file that cannot be
// opened, and logged with the reason: a server that takes the connection and
// never answers (after the opening bound), a clip replaced by a FIFO during
// the show and a device read without end (both refused at once).
TEST_F(ShowE2E, AnEntryThatNeverOpensIsSkipped) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString server = QStringLiteral("http://127.0.0.1:%1/clip.mp4").arg(silent.serverPort());
    const QString stuck = program_.file("stuck.mp4");
    for (const auto& [entry, withinMs, logged] :
         {std::tuple{EntrySpec{server, "", {}, {}}, 20000, QStringLiteral("nothing to show within 15 s")},
          {Entry("stuck.mp4"), 10000, QStringLiteral("not a regular file (a FIFO)")},
          {EntrySpec{"file:///dev/zero", "", {}, {}}, 10000, QStringLiteral("not a regular file (a character device)")}}) {
        QFile::remove(stuck);
        ASSERT_TRUE(QFile::copy(program_.file("green.mp4"), stuck));  // a clip when the show starts
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                                {Entry("blue.mp4"), Entry("green.mp4"), entry, Entry("long-red.mp4")});
        ASSERT_TRUE(screen_.Shows(kCentre, kBlue));
        // Before the entry ahead of it starts, which prepares it.
        ASSERT_TRUE(QFile::remove(stuck));
        ASSERT_EQ(::mkfifo(QFile::encodeName(stuck).constData(), 0600), 0);
        ASSERT_TRUE(screen_.Shows(kCentre, kGreen));
        EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, withinMs)) << qPrintable(entry.movieName);
        EXPECT_EQ(show->state(), QProcess::Running);
        const QString log = ReadText(program_.file("ZORError.Log"));
        EXPECT_TRUE(log.contains(logged)) << qPrintable(log);
    }
}

// A collection of one clip plays it again and again in the one player: the
// trace shows it started over at each round and nothing prepared beside it.
TEST_F(ShowE2E, AClipThatFollowsItselfNeedsNoSecondPlayer) {
    const auto show = StartTraced("SCREENSAVER_NOMOUSEMOVE", {Entry("red.mp4")});  // 2 s
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    QString trace;  // the start's and two rounds
    EXPECT_TRUE(WaitUntil([&] { return (trace = ReadText(program_.file("trace.txt"))).count("same clip again") >= 3; }, 20000, 200))
        << qPrintable(trace);
    EXPECT_FALSE(trace.contains(QStringLiteral("(prepared)"))) << qPrintable(trace);
    EXPECT_TRUE(screen_.Shows(kCentre, kRed));
    EXPECT_EQ(show->state(), QProcess::Running);
}

// Clips shown at their own size: at a change, the old clip's picture is
// never drawn at the new clip's size. A small red clip and a big green one
// of the same shape take turns, at their own size and, from the second
// round on, in a square box of their height; the pixels watched lie in the
// green clip's boxes and outside every box of the red one. The green clip
// comes from a web server, so it is opened afresh in the player that showed
// the red one (addresses are not prepared), and the control takes its size
// before its first picture is decoded: the red picture, scaled up, stayed
// for 0.2 to 0.4 s.
TEST_F(ShowE2E, AChangeOfSizeNeverShowsTheOldClipInTheNewPlace) {
    MakeClip(program_.file("small.mp4"), ColourSource(kRed, 320, 180), 2);
    MakeClip(program_.file("big.mp4"), ColourSource(kGreen, 960, 540), 2);
    const WebServer server(screen_, program_.file(""));
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {OwnSize("small.mp4"), OwnSize(server.Address("big.mp4"), "")});
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

// A clip at its own size whose size arrives after the show stopped waiting
// for it (a slow server: its first answer comes 8 s late) is centred when
// it arrives, not left where the size the control had placed it (240 x 240
// at 520,240); the green clip is 640 x 360, centred at 320,180.
TEST_F(ShowE2E, AClipWhoseSizeArrivesLateIsCentred) {
    MakeClip(program_.file("small.mp4"), ColourSource(kRed, 320, 240), 2);
    MakeClip(program_.file("late.mp4"), ColourSource(kGreen, 640, 360), 6);
    const WebServer server(screen_, program_.file(""), 8);
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {OwnSize("small.mp4"), OwnSize(server.Address("late.mp4"), "")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    EXPECT_TRUE(screen_.Shows({330, 190}, kGreen, 40, 20000));  // its own box's top left corner
    const QImage screen = screen_.Screen();
    for (const auto& [x, y, colour] : {std::tuple{950, 530, kGreen}, {1110, 590, QColor(Qt::black)}})  // the stale box's
        EXPECT_TRUE(VirtualDisplay::Near(screen.pixelColor(x, y), colour)) << x << ',' << y;
    // The next round fits it into a square of the height it gave, 360, not of the stale 240.
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    EXPECT_TRUE(screen_.Shows({470, 270}, kGreen));
    EXPECT_EQ(show->state(), QProcess::Running);
}

// The settings dialog's preview area is a window of another program.
TEST_F(ShowE2E, PreviewDrawsIntoAForeignWindowForNineSeconds) {
    const qulonglong host = screen_.OpenWindow("preview host").id;
    ASSERT_NE(host, 0u);
    QElapsedTimer clock;
    clock.start();
    const auto show = Start("SCREENSAVER", {Entry("long-red.mp4")}, {"/P", QString::number(host)});
    EXPECT_TRUE(screen_.Shows({300, 250}, kRed));
    EXPECT_TRUE(show->EndsCleanly(20000));
    EXPECT_GE(clock.elapsed(), 8500);
    EXPECT_FALSE(QFile::exists(program_.file("ZORError.Log")));
}

// A page stays until the user presses Continue Show (on to the next entry),
// Quit Show or the bare toolbar (the end): the display time 0 leaves it to them.
TEST_F(ShowE2E, PageButtonsEndTheEntryOrTheShow) {
    const EntrySpec page = LimePage();
    for (const QPoint& button : {kContinueShow, kQuitShow, kBareToolbar}) {
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {page, Entry("long-red.mp4")}, {"/S"}, "0");
        const auto window = screen_.WaitForWindow(kLimeTitle);
        ASSERT_NE(window.id, 0u);
        // The window is mapped before it is drawn, and replaced by a new one in
        // the same place as the browser view arrives: a press on the first is
        // lost. A person presses what they see.
        ASSERT_TRUE(screen_.Shows(window.origin + kInsidePage, kLime, 8)) << "the page was not drawn";
        screen_.Click(window.origin + button);
        if (button == kContinueShow) EXPECT_TRUE(screen_.Shows(kCentre, kRed));
        else EXPECT_TRUE(show->EndsCleanly());
    }
}

// The display time, raised to ten seconds, ends a page whatever came of its
// address: one that never answers, one that cannot be read.
TEST_F(ShowE2E, DisplayTimeEndsAPageWhateverTheAddress) {
    QTcpServer silent;  // takes connections (the system does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QElapsedTimer clock;
    clock.start();
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE",
                            {Page(QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort())),
                             Page("http://[::1"), Entry("long-red.mp4")},
                            {"/S"}, "3");
    EXPECT_NE(screen_.WaitForWindow("Working...").id, 0u);
    EXPECT_TRUE(screen_.Shows(kCentre, kRed, 40, 60000));
    EXPECT_GE(clock.elapsed(), 20000);
    EXPECT_EQ(show->state(), QProcess::Running);
}

// --fill: a full-screen clip or still of 4:3 on the 16:9 screen covers it,
// cropped, where it fits between black bars without; an entry at its own
// size stays as it is.
TEST_F(ShowE2E, FillCoversTheScreenWithFullScreenEntries) {
    const QPoint beside(20, 360);  // left of a 4:3 picture fitted to the screen's height
    const std::tuple<EntrySpec, bool, QColor> rows[] = {
        {Entry("long-red.mp4"), false, Qt::black}, {Entry("long-red.mp4"), true, kRed},
        {Still("yellow.png"), false, Qt::black},   {Still("yellow.png"), true, kYellow},
        {OwnSize("long-red.mp4"), true, Qt::black}};
    for (const auto& [entry, fill, besideColour] : rows) {
        const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {entry}, fill ? QStringList{"/S", "--fill"} : QStringList{"/S"});
        ASSERT_TRUE(screen_.Shows(kCentre, entry.movieName == "yellow.png" ? kYellow : kRed)) << fill;
        EXPECT_TRUE(VirtualDisplay::Near(screen_.Screen().pixelColor(beside), besideColour))
            << qPrintable(entry.movieName) << ' ' << fill;
    }
}

}  // namespace
