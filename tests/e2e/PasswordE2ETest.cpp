// The screensaver password as a person meets it: set with "/A", asked for
// when a show on a guardless platform is ended, typed on the keyboard; and
// the input around it, which acts once.

#include "e2e/ShowE2E.h"
#include "support/PulseServer.h"

using namespace testsupport;

namespace {

const QString kCaption = QStringLiteral("ZOR Screensaver Password");

class PasswordE2E : public ShowE2E {
protected:
    // The remote's mixer: without a sound server a message box comes first.
    // Its environment takes XDG_CONFIG_HOME away: the store's is set after it.
    PasswordE2E() {
        sound_.UseInThisProcess();
        env_.Set("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        env_.Set("ZORSCR_PLATFORM", {});
    }
    QString Store() const { return config_.file("ZORScr/user.reg"); }
    // Types each text into the next field (Tab between), then presses Enter.
    void Type(const QStringList& fields) const {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) screen_.Xdotool({"key", "Tab"});
            screen_.Xdotool({"type", "--delay", "30", fields[i]});
        }
        screen_.Xdotool({"key", "Return"});
    }
    // How many windows with the caption are on the screen, once count of them
    // are and the newest has the keyboard, or after 10 seconds. A key sent
    // before that would go to the window under it.
    int CaptionedWindows(int count) const {
        int seen = 0;
        WaitUntil([&] {
            const QStringList ids =
                screen_.Xdotool({"search", "--onlyvisible", "--name", u'^' + kCaption + u'$'}).split(u'\n', Qt::SkipEmptyParts);
            qulonglong newest = 0;
            for (const QString& id : ids) newest = std::max(newest, id.toULongLong());
            seen = int(ids.size());
            return seen == count && screen_.Xdotool({"getwindowfocus"}).trimmed().toULongLong() == newest;
        }, 10000);
        return seen;
    }

    TempFolder config_;
    PulseServer sound_;
    ScopedEnv env_;
};

// "/A" sets the password once both entries agree (in a store of the user's
// alone: StoreTest). One that cannot be stored: a box says why and the
// program ends with status 1; the log holds the report. (The store's other
// failures: StoreTest.) The password set is asked for when a guarded show
// is ended: an Escape that cancels the check acts once, a wrong password
// keeps the show, the right one (the spaces around it not counted) ends it.
TEST_F(PasswordE2E, SlashASetsThePasswordOrSaysWhyItCannotAndTheShowAsksForIt) {
    const struct { const char* what; std::function<void()> spoil; const char* reason; } rows[] = {
        {"the store's folder is a file", [&] { WriteBytes(config_.file("ZORScr"), "a file"); }, "Not a directory"},
        {"a store that takes it", [] {}, nullptr},  // last: the show below asks for its password
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(config_.file("ZORScr")).removeRecursively();
        QFile::remove(config_.file("ZORScr"));
        QFile::remove(program_.file("ZORScr.Log"));
        row.spoil();
        const auto login = program_.Start({"/A"});
        ASSERT_EQ(CaptionedWindows(1), 1);
        Type({"secret", "other"});
        ASSERT_EQ(CaptionedWindows(2), 2);  // the mismatch box over the dialog
        screen_.Xdotool({"key", "Return"});
        ASSERT_EQ(CaptionedWindows(1), 1);
        Type({"secret", "secret"});  // each field's text is selected: typing replaces it
        if (!row.reason) {
            EXPECT_TRUE(login->EndsCleanly());
            EXPECT_TRUE(ReadText(Store()).contains("\"Hello\"=\"secret\"")) << qPrintable(ReadText(Store()));
            continue;
        }
        ASSERT_EQ(CaptionedWindows(2), 2) << "no box over the dialog";
        screen_.Xdotool({"key", "ctrl+c"});
        const QString said = screen_.Clipboard();
        EXPECT_TRUE(said.contains(row.reason)) << qPrintable(said);
        screen_.Xdotool({"key", "Return"});
        ASSERT_TRUE(login->waitForFinished(15000));
        EXPECT_EQ(login->exitCode(), 1);
        const QString log = ReadText(program_.file("ZORScr.Log"));
        EXPECT_TRUE(log.startsWith("<<ERR307>> - ZOR Registry Read Failure 75 Path/File access error (") &&
                    log.contains(row.reason))
            << qPrintable(log);
    }

    env_.Set("ZORSCR_PLATFORM", "98");
    const auto show = Start("SCREENSAVER_NOMOUSEMOVE", {Entry("long-red.mp4")});
    ASSERT_TRUE(screen_.Shows(kCentre, kRed));
    screen_.Xdotool({"key", "Escape"});
    ASSERT_EQ(CaptionedWindows(1), 1);
    // Cancelled with an Escape let go after the dialog has gone: the key acts once.
    screen_.Xdotool({"keydown", "Escape"});
    WaitUntil([&] { return !screen_.Visible(kCaption); }, 5000, 50);
    screen_.Xdotool({"keyup", "Escape"});
    EXPECT_FALSE(WaitUntil([&] { return screen_.Visible(kCaption); }, 2000)) << "the dialog came back";
    screen_.Xdotool({"key", "Escape"});
    ASSERT_EQ(CaptionedWindows(1), 1);
    Type({"Secret"});
    ASSERT_EQ(CaptionedWindows(2), 2);  // "Incorrect Password !"
    screen_.Xdotool({"key", "Return"});
    EXPECT_EQ(CaptionedWindows(1), 1);
    EXPECT_EQ(show->state(), QProcess::Running);
    Type({"  secret "});
    EXPECT_TRUE(show->EndsCleanly());
}

// The ways out that leave the end to the show loop: with a password in
// force each asks for it, and Cancel (Escape) keeps the show going; without
// one each ends the show at once. (Whether one is in force: PasswordTest.)
TEST_F(PasswordE2E, EveryWayOutOfAGuardedShowAsks) {
    const struct { const char* what; QList<EntrySpec> entries; QColor shown; std::function<void()> leave; } ways[] = {
        {"Escape", {Entry("long-red.mp4")}, kRed, [&] { screen_.Xdotool({"key", "Escape"}); }},
        {"the remote's Quit Show", {Entry("long-red.mp4")}, kRed, [&] {
             screen_.Click(kCentre, 3);
             const platform::TwipsRect d = RemoteZone("Quit Show").design;
             screen_.Click(screen_.WaitForWindow("ZOR RC").origin +
                           QPoint(int(d.Left + d.Width / 2) / 15, int(d.Top + d.Height / 2) / 15));
         }},
        {"the page window's Quit Show", {LimePage(), Entry("long-red.mp4")}, {}, [&] {
             const auto page = screen_.WaitForWindow(kLimeTitle);
             EXPECT_TRUE(screen_.Shows(page.origin + kInsidePage, kLime, 8));
             screen_.Click(page.origin + kQuitShow);
         }},
        // Beside the still, along a line that keeps |x - y|: no move by the window's own test.
        {"a drag with the right button", {Still("yellow.png")}, kYellow, [&] {
             screen_.Xdotool({"mousemove", "--sync", "300", "100", "mousedown", "3"});
             for (const char* to : {"310 110", "320 120", "330 130"})
                 screen_.Xdotool(QStringList{"mousemove", "--sync"} + QString(to).split(u' '));
         }},
    };
    for (const auto& way : ways) {
        for (const bool guarded : {true, false}) {
            SCOPED_TRACE(testing::Message() << way.what << (guarded ? ", guarded" : ""));
            env_.Set("ZORSCR_PLATFORM", guarded ? QByteArray("98") : QByteArray());  // nothing stored: "marigolds"
            const bool drag = way.shown == kYellow, page = !way.shown.isValid();
            const auto show = Start(drag ? "SCREENSAVER" : "SCREENSAVER_NOMOUSEMOVE", way.entries, {"/S"}, page ? "0" : "12");
            EXPECT_TRUE(page || screen_.Shows(kCentre, way.shown));
            way.leave();
            if (guarded) {
                ASSERT_EQ(CaptionedWindows(1), 1);
                screen_.Xdotool({"key", "Escape"});
                EXPECT_FALSE(show->waitForFinished(2000)) << "the show ended without its password";
            } else {
                EXPECT_TRUE(show->EndsCleanly());
            }
            if (drag) screen_.Xdotool({"mouseup", "3"});
        }
    }
}

}  // namespace
