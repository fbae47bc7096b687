#include <gtest/gtest.h>

#include "config/Initialise.h"
#include "config/Instances.h"
#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "state/RunState.h"
#include "support/CollectionFile.h"
#include "support/ProgramFolder.h"

using testsupport::CollectionSpec;
using testsupport::EntrySpec;

namespace {

class InitialiseTest : public testsupport::ProgramFolderTest {
protected:
    QString LogPath() const { return ProgramFile(QStringLiteral("ZORError.Log")); }
    QString Media(const QString& name) {
        testsupport::WriteBytes(ProgramFile(name), "media");
        return name;
    }
    EntrySpec Entry(const QString& name) { return {Media(name), folder_.path() + u'/', {}, {}}; }
    CollectionSpec Spec() {
        CollectionSpec spec;
        spec.errorLog = LogPath();
        return spec;
    }
    // Every collection gets a file name of its own: a file rewritten within
    // the same clock tick may still be read from the cache.
    QString Write(const CollectionSpec& spec) {
        const QString file = ProgramFile(QStringLiteral("Shows%1.ini").arg(++written_));
        testsupport::WriteBytes(file, testsupport::CollectionText(spec));
        return file;
    }
    int written_ = 0;
    QString LogText() const {
        return QFile::exists(LogPath()) ? QString::fromUtf8(testsupport::ReadBytes(LogPath())) : QString();
    }
    // Runs Initialise and tells whether it ended the program.
    bool Ends(const QString& file) {
        try {
            Initialise(file);
            return false;
        } catch (const vb::ProgramEnded&) {
            return true;
        }
    }
};

TEST_F(InitialiseTest, LoadsSettingsAndEveryPositionOfAnEntry) {
    CollectionSpec spec = Spec();
    EntrySpec clip = Entry(QStringLiteral("clip.mkv"));
    clip.movieName = folder_.path() + QStringLiteral("/clip.mkv");
    clip.overrides = {{{"Main", 3}, "4"},          {{"Main", 5}, "True"},  {{"Main", 6}, "15"},
                      {{"Main", 7}, "Holiday"},    {{"Main", 12}, "-1"},   {{"Audio", 1}, "600"},
                      {{"Audio", 2}, "1500"},      {{"Looping", 1}, "12.5"}, {{"Looping", 2}, "True"},
                      {{"Looping", 4}, "2.25"},    {{"Looping", 7}, "480"}, {{"Looping", 8}, "640"},
                      {{"Display", 1}, "50%"},     {{"Display", 4}, "3000"}};
    spec.entries = {clip, {QStringLiteral("HTTP://example.org/page.htm"), QString(), {{{"Main", 14}, "True"}}, {}}};
    ASSERT_FALSE(Ends(Write(spec)));

    ZOR2& s = gSettings();
    EXPECT_EQ(s.UserName(), u"Ann");
    EXPECT_EQ(s.MoviesInGroup(), 2);
    EXPECT_EQ(s.DelayTimer(), 12);
    EXPECT_EQ(s.StillDelayTimer(), 7);
    EXPECT_EQ(s.ErrorLog(), LogPath());
    EXPECT_EQ(s.RunMode(), u"SCREENSAVER");
    EXPECT_TRUE(gExitOnMouseMove);
    ASSERT_EQ(gMovies().Count(), 2);

    Movie& m = gMovies().Item(1);
    EXPECT_EQ(m.MovieName(), u"clip.mkv");
    EXPECT_EQ(m.Path(), folder_.path() + u'/');
    EXPECT_EQ(m.Orderinplaylist(), 4);
    EXPECT_TRUE(m.IsTrueQT4());
    EXPECT_EQ(m.Playspeed(), 15);
    EXPECT_EQ(m.AltName(), u"Holiday");
    EXPECT_TRUE(m.IsTrueRM());
    EXPECT_EQ(m.volume(), 600);
    EXPECT_EQ(m.Balance().ToString(), u"1500");
    EXPECT_EQ(m.LoopEnd().ToDouble(), 12.5);
    EXPECT_TRUE(m.LoopForever());
    EXPECT_EQ(m.LoopStart().ToString(), u"2.25");
    EXPECT_EQ(m.StillH(), 480);
    EXPECT_EQ(m.StillW(), 640);
    EXPECT_EQ(m.ZoomLevel().ToString(), u"50%");
    EXPECT_EQ(m.Playsize(), 3000);
    EXPECT_TRUE(m.PlayFullScreen());
    EXPECT_FALSE(m.RemoteRepeat());
    EXPECT_TRUE(m.IsDirty());

    Movie& page = gMovies().Item(2);
    EXPECT_EQ(page.MovieName(), u"HTTP://example.org/page.htm");
    EXPECT_TRUE(page.IsHTML());
    EXPECT_EQ(page.Path(), QString(128, QChar(u'\0')));  // an empty value is the whole read buffer
    EXPECT_EQ(LogText(), QString());
}

TEST_F(InitialiseTest, RunModeSettingSetsTheInputRules) {
    struct Case {
        QString value;
        bool startExit;  // the start-up value (true in preview)
        QString runMode;
        bool exitOnMove, noRemote, secure, rewritten;
    };
    const Case cases[] = {
        {"SCREENSAVER", false, "SCREENSAVER", true, false, false, false},
        {"screensaver_nomousemove", false, "SCREENSAVER_NOMOUSEMOVE", false, false, false, false},
        {"Screensaver_NoMouseMove_Or_RC", true, "SCREENSAVER_NOMOUSEMOVE_OR_RC", false, true, false, false},
        {"SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE", false, "SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE", false, true, true,
         false},
        {"\" SCREENSAVER_NOMOUSEMOVE\"", false, "SCREENSAVER", false, false, false, true},
        {"\" SCREENSAVER_NOMOUSEMOVE\"", true, "SCREENSAVER", true, false, false, true},
        {"", false, "SCREENSAVER", false, false, false, true},
        {"X", true, "SCREENSAVER", true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        testsupport::ResetProgramState();
        gExitOnMouseMove = c.startExit;
        CollectionSpec spec = Spec();
        spec.runAs = c.value;
        const QString file = Write(spec);
        ASSERT_FALSE(Ends(file));
        EXPECT_EQ(gSettings().RunMode(), c.runMode);
        EXPECT_EQ(gExitOnMouseMove, c.exitOnMove);
        EXPECT_EQ(gNoRemote, c.noRemote);
        EXPECT_EQ(gSecureMode, c.secure);
        const QByteArray text = testsupport::ReadBytes(file);
        EXPECT_EQ(text.contains("RunAs=SCREENSAVER\n"), c.rewritten || c.value == u"SCREENSAVER");
    }
}

TEST_F(InitialiseTest, WritesMissingDefaultsBackAndKeepsTheRestOfTheFile) {
    CollectionSpec spec = Spec();
    spec.errorLog.clear();
    spec.user = QStringLiteral("; who\nUserName=A\nOrganisation=\nEMail=ann@example.org\n");
    const QString file = Write(spec);
    const QByteArray before = testsupport::ReadBytes(file);
    ASSERT_FALSE(Ends(file));

    const QString defaultLog = folder_.path() + QStringLiteral("/ZORError.Log");
    EXPECT_EQ(gSettings().ErrorLog(), defaultLog);
    EXPECT_EQ(gSettings().UserName(), u"Unknown");
    EXPECT_EQ(gSettings().Organisation(), u"Unknown");
    // Values are taken by position: with ReplyTo absent, p3 is the e-mail
    // line, and the missing p4 gives EMail its default under its own key.
    EXPECT_EQ(gSettings().ReplyTo(), u"ann@example.org");
    EXPECT_EQ(gSettings().EMail(), u"Unknown");

    QByteArray expected = before;
    expected.replace("UserName=A\n", "UserName=Unknown\n");
    expected.replace("Organisation=\n", "Organisation=Unknown\n");
    expected.replace("EMail=ann@example.org\n", "EMail=Unknown\n");
    expected.replace("ErrorLog=\n", "ErrorLog=" + defaultLog.toUtf8() + "\n");
    EXPECT_EQ(testsupport::ReadBytes(file), expected);
}

TEST_F(InitialiseTest, DropsEntriesWhoseFileHasGone) {
    CollectionSpec spec = Spec();
    EntrySpec gone{QStringLiteral("gone.avi"), QStringLiteral("/no/such/folder/"), {}, {}};
    EntrySpec hidden = Entry(QStringLiteral(".hidden.avi"));
    EntrySpec here{Media(QStringLiteral("here.avi")), QStringLiteral("CURRDIR"), {}, {}};
    spec.entries = {Entry(QStringLiteral("one.avi")), gone, hidden, here};
    ASSERT_FALSE(Ends(Write(spec)));

    ASSERT_EQ(gMovies().Count(), 2);
    EXPECT_EQ(gMovies().Item(1).MovieName(), u"one.avi");
    EXPECT_EQ(gMovies().Item(2).MovieName(), u"here.avi");
    EXPECT_EQ(gMovies().Item(2).Path(), folder_.path() + u'/');

    const QString tail = QStringLiteral(
        " has been moved and ZOR now no longer knows where this file is. ZOR has therefore skipped this file from the "
        "load sequence.");
    const QStringList records = LogText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), 2);
    EXPECT_TRUE(IsLogRecordOf(records[0] + QStringLiteral("\r\n"),
                              QStringLiteral("<<ERR037>> - The File /no/such/folder/gone.avi") + tail));
    EXPECT_TRUE(IsLogRecordOf(records[1] + QStringLiteral("\r\n"),
                              QStringLiteral("<<ERR037>> - The File ") + folder_.path() + "/.hidden.avi" + tail));
}

TEST_F(InitialiseTest, MissingEntrySectionLogsItsLineAndEnds) {
    const QString notice = QStringLiteral(" Please e-mail: SUPPORT@ZORSCR.EXAMPLE.ORG with Initialisation Error ");
    struct Case {
        QString section;
        QString message;  // after a skipped "fast" Playspeed: 13 Type mismatch
    };
    const Case cases[] = {
        {"Main", "<<ERR033>> - Corrupt Descriptions Failure 0 "},
        {"Audio", "Corrupt Audio Descriptions. " + notice + "034 as the subject header.\r\n"
                  "<<ERR034>> - Corrupt Audio Failure 13 Type mismatch"},
        {"Looping", "Corrupt Looping Descriptions. " + notice + "035 as the subject header.\r\n"
                    "<<ERR035>> - Corrupt Looping Failure 13 Type mismatch"},
        {"Display", "<<ERR036>> - Corrupt Display Failure 13 Type mismatch"
                    "Corrupt Display Descriptions. " + notice + "036 as the subject header.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section.toStdString());
        testsupport::ResetProgramState();
        QFile::remove(LogPath());
        CollectionSpec spec = Spec();
        EntrySpec entry = Entry(QStringLiteral("a.avi"));
        entry.overrides = {{{"Main", 6}, "fast"}};
        entry.omittedSections = {c.section};
        spec.entries = {Entry(QStringLiteral("first.avi")), entry};
        EXPECT_TRUE(Ends(Write(spec)));
        EXPECT_EQ(gMovies().Count(), 1);
        EXPECT_TRUE(IsLogRecordOf(LogText(), c.message)) << LogText().toStdString();
    }
}

TEST_F(InitialiseTest, UnwritableLogLetsLoadingGoOn) {
    CollectionSpec spec = Spec();
    spec.errorLog = folder_.path() + QStringLiteral("/no/such/folder/ZORError.Log");
    EntrySpec entry = Entry(QStringLiteral("a.avi"));
    entry.omittedSections = {QStringLiteral("Audio")};
    spec.entries = {entry};
    ASSERT_FALSE(Ends(Write(spec)));
    ASSERT_EQ(gMovies().Count(), 1);
    EXPECT_EQ(gMovies().Item(1).Balance().ToString(), u"1000");  // unread: the read default
    const QString fallback = QString::fromUtf8(testsupport::ReadBytes(ProgramFile(QStringLiteral("ZORScrERROR.LOG"))));
    EXPECT_TRUE(fallback.contains(QStringLiteral("<<ERR034>> - Corrupt Audio Failure 0 \r\n\r\n **** W A R N I N G ****")));
}

TEST_F(InitialiseTest, UnusableSettingsSectionEndsBeforeAnything) {
    struct Case {
        QByteArray text;
        int cursorShown;  // the cursor is shown only for a misplaced DefaultStartupVid
    };
    const Case cases[] = {
        {"[User]\nUserName=Ann\n", 0},
        {"", 0},
        {"[ZOR]\n", 0},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\nErrorLog=x\nDefaultStartupVid=\nSkin=\nMoviesInGroup=0\n", 1},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\nErrorLog=x\nSkin=\ndefaultstartupvid=\nMoviesInGroup=0\n", 1},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\n", 1},
        {QByteArray("\x00\xff\xfe[ZOR\x00]\n\x01=\x02\n", 14), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString file = ProgramFile(QStringLiteral("Bad%1.ini").arg(++written_));
        testsupport::WriteBytes(file, c.text);
        const int cursor = platform::CursorDisplayCount();
        EXPECT_TRUE(Ends(file));
        EXPECT_EQ(platform::CursorDisplayCount() - cursor, c.cursorShown);
        EXPECT_EQ(testsupport::ReadBytes(file), c.text);
        EXPECT_FALSE(QFile::exists(LogPath()));
    }
}

TEST_F(InitialiseTest, EntryCountThatIsNotANumberLoadsNothing) {
    for (const QString count : {"0", "abc", "-3", "40000", ""}) {
        SCOPED_TRACE(count.toStdString());
        testsupport::ResetProgramState();
        CollectionSpec spec = Spec();
        spec.entries = {Entry(QStringLiteral("a.avi"))};
        spec.moviesInGroup = count.isEmpty() ? QStringLiteral("\"\"") : count;
        ASSERT_FALSE(Ends(Write(spec)));
        EXPECT_EQ(gMovies().Count(), 0);
    }
}

TEST_F(InitialiseTest, DefaultFileIsTheProgramIniBesideTheProgram) {
    EXPECT_EQ(ConfigurationFile(QString()), folder_.path() + QStringLiteral("/ZORScr.INI"));
    EXPECT_EQ(ConfigurationFile(QStringLiteral("/x/Shows.ini")), u"/x/Shows.ini");
}

}  // namespace
