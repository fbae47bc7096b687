// The show as a person sees it: the real program on a virtual display with
// clips and stills made at test time, watched through screenshots and
// driven with the mouse and the keyboard.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "support/CollectionFile.h"
#include "support/ProgramRun.h"
#include "support/TestMedia.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

const QColor kRed(0xC0, 0x20, 0x20);
const QColor kGreen(0x20, 0xA0, 0x40);
const QColor kBlue(0x20, 0x40, 0xC0);
const QColor kYellow(0xE0, 0xD0, 0x20);
const QColor kBlack(0, 0, 0);
const QPoint kCentre(640, 360);  // of the 1280 x 720 virtual screen
constexpr int kTolerance = 40;   // colours pass through YUV on their way

class ShowE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HaveFfmpeg()) return;
        media_ = new TempFolder;
        MakeClip(media_->file("red.mp4"), kRed, 2);
        MakeClip(media_->file("green.mp4"), kGreen, 2);
        MakeClip(media_->file("blue.mp4"), kBlue, 2);
        MakeClip(media_->file("long-red.mp4"), kRed, 30);
        MakeStill(media_->file("yellow.png"), kYellow, 400, 300);
    }
    static void TearDownTestSuite() {
        delete media_;
        media_ = nullptr;
    }
    void SetUp() override {
        if (!media_) GTEST_SKIP() << "ffmpeg is not installed";
    }
    ~ShowE2E() override { Stop(); }

    static EntrySpec Clip(const QString& name) { return {name, media_->path() + u'/', {}, {}}; }
    static EntrySpec Still(const QString& name, int height, int width) {
        return {name, media_->path() + u'/',
                {{{"Looping", 7}, QString::number(height)}, {{"Looping", 8}, QString::number(width)},
                 {{"Looping", 9}, "True"}},
                {}};
    }

    void Start(const CollectionSpec& spec, const QStringList& arguments = {"/S"}) {
        WriteBytes(program_.file("ZORScr.INI"), CollectionText(spec));
        QProcessEnvironment environment = program_.Environment();
        environment.insert("DISPLAY", display_.name());
        environment.remove("ZORSCR_MPV_HEADLESS");  // the picture is what these tests look at
        show_.setProcessEnvironment(environment);
        show_.setWorkingDirectory(program_.folder());
        show_.start(program_.file("ZORScr"), arguments);
        ASSERT_TRUE(show_.waitForStarted());
    }
    bool Ended(int timeoutMs) { return show_.waitForFinished(timeoutMs); }
    void Stop() {
        if (show_.state() == QProcess::NotRunning) return;
        show_.kill();
        show_.waitForFinished();
    }
    bool Shows(QPoint at, const QColor& colour, int timeoutMs = 15000) {
        const QColor seen = x_.WaitForPixel(at, colour, kTolerance, timeoutMs);
        return std::abs(seen.red() - colour.red()) <= kTolerance &&
               std::abs(seen.green() - colour.green()) <= kTolerance &&
               std::abs(seen.blue() - colour.blue()) <= kTolerance;
    }

    static TempFolder* media_;
    VirtualDisplay display_;
    XTools x_{display_.name()};
    InstalledProgram program_;
    QProcess show_;
};

TempFolder* ShowE2E::media_ = nullptr;

CollectionSpec Collection(const QString& runAs, QList<EntrySpec> entries) {
    CollectionSpec spec;
    spec.runAs = runAs;
    spec.entries = std::move(entries);
    return spec;
}

TEST_F(ShowE2E, ClipsPlayInOrderAndWrap) {
    Start(Collection("SCREENSAVER_NOMOUSEMOVE", {Clip("red.mp4"), Clip("green.mp4"), Clip("blue.mp4")}));
    for (const QColor& colour : {kRed, kGreen, kBlue, kRed}) EXPECT_TRUE(Shows(kCentre, colour)) << colour.name().toStdString();
    EXPECT_EQ(show_.state(), QProcess::Running);
}

TEST_F(ShowE2E, StillFillsTheScreenHeightAndEndsAfterItsDelay) {
    CollectionSpec spec = Collection("SCREENSAVER_NOMOUSEMOVE", {Still("yellow.png", 300, 400), Clip("long-red.mp4")});
    spec.stillDelayTimer = "2";
    Start(spec);
    // 400 x 300 scaled to the screen's height of 720 is 960 wide, centred: x 160 to 1120.
    ASSERT_TRUE(Shows(QPoint(640, 5), kYellow));
    EXPECT_TRUE(Shows(QPoint(640, 715), kYellow, 1000));
    EXPECT_TRUE(Shows(QPoint(170, 360), kYellow, 1000));
    EXPECT_TRUE(Shows(QPoint(1110, 360), kYellow, 1000));
    EXPECT_TRUE(Shows(QPoint(150, 360), kBlack, 1000));
    EXPECT_TRUE(Shows(QPoint(1130, 360), kBlack, 1000));
    QElapsedTimer still;
    still.start();
    EXPECT_TRUE(Shows(kCentre, kRed, 10000));
    EXPECT_GE(still.elapsed(), 1000);  // the still stayed for its delay, not a moment
}

TEST_F(ShowE2E, InputEndsTheShowOrMovesOn) {
    struct Case {
        const char* runAs;
        std::function<void(const XTools&)> input;
        bool ends;
    };
    const Case cases[] = {
        {"SCREENSAVER", [](const XTools& x) { for (QPoint p : {QPoint(100, 100), QPoint(900, 200), QPoint(300, 600), QPoint(1200, 650)}) x.MoveMouse(p); }, true},
        {"SCREENSAVER_NOMOUSEMOVE", [](const XTools& x) { x.Key("Escape"); }, true},
        {"SCREENSAVER_NOMOUSEMOVE", [](const XTools& x) { for (QPoint p : {QPoint(100, 100), QPoint(900, 200), QPoint(300, 600)}) x.MoveMouse(p); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runAs);
        Start(Collection(c.runAs, {Clip("long-red.mp4"), Clip("green.mp4")}));
        ASSERT_TRUE(Shows(kCentre, kRed));
        c.input(x_);
        EXPECT_EQ(Ended(5000), c.ends);
        if (c.ends) {
            EXPECT_EQ(show_.exitCode(), 0);
        }
        Stop();
    }
}

TEST_F(ShowE2E, EntriesThatCannotPlayAreSkipped) {
    WriteBytes(media_->file("not-a-video.mp4"), QByteArray(4096, 'x'));
    WriteBytes(media_->file("empty.mp4"), QByteArray());
    EntrySpec ownSize = Clip("not-a-video.mp4");
    ownSize.overrides = {{{"Display", 3}, "False"}, {{"Display", 4}, "0"}};  // the player's own size
    Start(Collection("SCREENSAVER_NOMOUSEMOVE", {ownSize, Clip("empty.mp4"), Clip("long-red.mp4")}));
    EXPECT_TRUE(Shows(kCentre, kRed));
    EXPECT_EQ(show_.state(), QProcess::Running);
}

TEST_F(ShowE2E, KeySkipsToTheNextEntry) {
    Start(Collection("SCREENSAVER_NOMOUSEMOVE", {Clip("long-red.mp4"), Clip("green.mp4")}));
    ASSERT_TRUE(Shows(kCentre, kRed));
    // The show window starts the first clip while it loads; the show loop
    // then starts it once more and clears the flags, so a key in that first
    // moment is lost by design. A person presses later.
    QThread::msleep(1500);
    // Down and up of a key each ask for the next entry; on a busy machine
    // the release can come after the show has moved on and skip that entry
    // too, so the release waits until the next entry is seen.
    x_.KeyDown("a");
    EXPECT_TRUE(Shows(kCentre, kGreen, 15000));  // long before the red clip's 30 seconds are over
    x_.KeyUp("a");
    EXPECT_EQ(show_.state(), QProcess::Running);
}

TEST_F(ShowE2E, MissingStillShowsTheLocationErrorAndEndsAfterOk) {
    Start(Collection("SCREENSAVER_NOMOUSEMOVE", {Clip("red.mp4"), Still("yellow.png", 300, 400)}));
    ASSERT_TRUE(Shows(kCentre, kRed));
    QFile::rename(media_->file("yellow.png"), media_->file("yellow.moved"));
    const qulonglong box = x_.WaitForWindow("ZOR Movie Location error", 15000);
    QFile::rename(media_->file("yellow.moved"), media_->file("yellow.png"));
    ASSERT_NE(box, 0u);
    EXPECT_EQ(show_.state(), QProcess::Running);  // until the box is answered
    x_.Key("Return");
    EXPECT_TRUE(Ended(5000));
    EXPECT_EQ(show_.exitCode(), 0);
}

TEST_F(ShowE2E, PreviewDrawsIntoAForeignWindowForNineSeconds) {
    // The settings dialog's preview area: a window of another program.
    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_.name());
    client.setProcessEnvironment(environment);
    client.start("xmessage", {"-geometry", "400x300+100+100", "-title", "preview host", "                    "});
    ASSERT_TRUE(client.waitForStarted());
    const qulonglong window = x_.WaitForWindow("preview host");
    ASSERT_NE(window, 0u);

    QElapsedTimer clock;
    clock.start();
    Start(Collection("SCREENSAVER", {Clip("long-red.mp4")}), {"/P", QString::number(window)});
    EXPECT_TRUE(Shows(QPoint(300, 250), kRed));
    ASSERT_TRUE(Ended(20000));
    EXPECT_GE(clock.elapsed(), 8500);
    EXPECT_EQ(show_.exitCode(), 0);
    client.kill();
    client.waitForFinished();
}

TEST_F(ShowE2E, SecondShowEndsAtOnce) {
    Start(Collection("SCREENSAVER_NOMOUSEMOVE", {Clip("long-red.mp4")}));
    ASSERT_TRUE(Shows(kCentre, kRed));
    QProcess second;
    QProcessEnvironment environment = program_.Environment();
    environment.insert("DISPLAY", display_.name());
    second.setProcessEnvironment(environment);
    second.start(program_.file("ZORScr"), {"/S"});
    EXPECT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(show_.state(), QProcess::Running);
}

}  // namespace
