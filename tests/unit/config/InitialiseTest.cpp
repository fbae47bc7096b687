#include "config/Initialise.h"

#include <gtest/gtest.h>

#include "config/EntryAddress.h"
#include "config/Instances.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/system/CdDrive.h"
#include "platform/ui/Cursor.h"
#include "state/RunState.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"

using namespace state;
using namespace config;

using testsupport::CollectionSpec;
using testsupport::EntrySpec;

namespace {

class InitialiseTest : public testsupport::ProgramFolderTest {
protected:
    QString LogPath() const { return ProgramFile(QStringLiteral("ZORError.Log")); }
    EntrySpec Entry(const QString& name) {
        testsupport::WriteBytes(ProgramFile(name), "media");
        return {name, folder_.path() + u'/', {}, {}};
    }
    CollectionSpec Spec() const { return {.errorLog = LogPath()}; }
    // The collection file, rewritten; a flush makes the next read read it.
    QString Write(const QByteArray& text) {
        const QString file = ProgramFile(QStringLiteral("Shows.ini"));
        testsupport::WriteBytes(file, text);
        platform::profile::WritePrivateProfileString(std::nullopt, std::nullopt, std::nullopt, file);
        return file;
    }
    QString Write(const CollectionSpec& spec) { return Write(testsupport::CollectionText(spec)); }
    QString LogText() const { return testsupport::ReadText(LogPath()); }
    // Runs Initialise on a fresh state; true when it ended the program.
    bool Ends(const QString& file, bool exitOnMouseMove = false) {
        testsupport::ResetProgramState();
        gExitOnMouseMove = exitOnMouseMove;  // as the start-up leaves it
        return EndsProgram([&] { Initialise(file); });
    }
};

TEST_F(InitialiseTest, LoadsSettingsAndEveryPositionOfAnEntry) {
    EXPECT_EQ(ConfigurationFile(QString()), folder_.path() + QStringLiteral("/ZORScr.INI"));
    CollectionSpec spec = Spec();
    EntrySpec clip = Entry(QStringLiteral("clip.mkv"));
    clip.movieName = folder_.path() + QStringLiteral("/clip.mkv");
    clip.overrides = {{{"Main", 3}, "4"},         {{"Main", 5}, "True"},   {{"Main", 6}, "15"},
                      {{"Main", 7}, "Holiday"},   {{"Main", 12}, "-1"},    {{"Audio", 1}, "600"},
                      {{"Audio", 2}, "1500"},     {{"Looping", 1}, "12.5"}, {{"Looping", 2}, "True"},
                      {{"Looping", 4}, "2.25"},   {{"Looping", 7}, "480"}, {{"Looping", 8}, "640"},
                      {{"Display", 1}, "50%"},    {{"Display", 4}, "3000"}};
    Entry(QStringLiteral("here.avi"));
    spec.entries = {clip,
                    {QStringLiteral("HTTP://example.org/page.htm"), QString(), {{{"Main", 14}, "True"}}, {}},
                    {QStringLiteral("gone.avi"), QStringLiteral("/no/such/folder/"), {}, {}},
                    Entry(QStringLiteral(".hidden.avi")),  // not a normal file
                    {QStringLiteral("here.avi"), QStringLiteral("CURRDIR"), {}, {}}};
    ASSERT_FALSE(Ends(Write(spec)));

    ZOR2& s = gSettings();
    EXPECT_EQ(std::make_tuple(s.UserName(), s.ErrorLog(), s.MoviesInGroup(), s.DelayTimer(), s.StillDelayTimer()),
              std::make_tuple(QStringLiteral("Ann"), LogPath(), 5, 12, 7));
    EXPECT_FALSE(s.ShowSplash() || s.MuteAtStart());
    ASSERT_EQ(gMovies().Count(), 3);  // the two whose files have gone are dropped, and logged

    Movie& m = gMovies().Item(1);
    const QStringList read = {m.MovieName(), m.Path(), m.AltName(), m.Balance().ToString(), m.LoopStart().ToString(),
                              m.ZoomLevel().ToString()};
    EXPECT_EQ(read, QStringList({"clip.mkv", folder_.path() + u'/', "Holiday", "1500", "2.25", "50%"}));
    EXPECT_EQ(std::make_tuple(m.Orderinplaylist(), m.Playspeed(), m.volume(), m.StillH(), m.StillW(), m.Playsize()),
              std::make_tuple(4, 15, 600, 480, 640, 3000));
    EXPECT_EQ(m.LoopEnd().ToDouble(), 12.5);
    EXPECT_TRUE(m.IsTrueQT4() && m.IsTrueRM() && m.LoopForever() && m.PlayFullScreen() && m.IsDirty());

    // An address needs no file; an empty value is the whole read buffer.
    Movie& page = gMovies().Item(2);
    EXPECT_EQ(page.MovieName() + page.Path(), "HTTP://example.org/page.htm" + QString(128, QChar(u'\0')));
    EXPECT_TRUE(page.IsHTML());
    EXPECT_EQ(gMovies().Item(3).Path() + gMovies().Item(3).MovieName(), folder_.path() + "/here.avi");
    const QStringList records = LogText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), 2);
    EXPECT_TRUE(IsLogRecordOf(records[0] + "\r\n", "<<ERR037>> - The File /no/such/folder/gone.avi has been moved and "
                                                   "ZOR now no longer knows where this file is. ZOR has therefore "
                                                   "skipped this file from the load sequence."));
}

// The outcome reads: the setting kept, then m mouse movement ends the show,
// n no remote control, s secure mode, w the setting written back.
TEST_F(InitialiseTest, RunModeSettingSetsTheInputRules) {
    const std::tuple<QString, bool, QString> cases[] = {  // the value, mouse movement before (preview), outcome
        {"SCREENSAVER", false, "SCREENSAVER m"},
        {"screensaver_nomousemove", true, "SCREENSAVER_NOMOUSEMOVE "},
        {"Screensaver_NoMouseMove_Or_RC", true, "SCREENSAVER_NOMOUSEMOVE_OR_RC n"},
        {"SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE", false, "SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE ns"},
        {"\" SCREENSAVER_NOMOUSEMOVE\"", false, "SCREENSAVER w"},  // not trimmed: unknown
        {"X", true, "SCREENSAVER mw"},
    };
    for (const auto& [value, exitBefore, outcome] : cases) {
        CollectionSpec spec = Spec();
        spec.runAs = value;
        const QString file = Write(spec);
        ASSERT_FALSE(Ends(file, exitBefore));
        const bool rewritten = value != "SCREENSAVER" && testsupport::ReadBytes(file).contains("RunAs=SCREENSAVER\n");
        QString got = gSettings().RunMode() + u' ';
        for (const auto& [flag, letter] :
             {std::pair{gExitOnMouseMove, u'm'}, {gNoRemote, u'n'}, {gSecureMode, u's'}, {rewritten, u'w'}})
            if (flag) got += letter;
        EXPECT_EQ(got, outcome);
    }
}

TEST_F(InitialiseTest, WritesMissingDefaultsBackAndKeepsTheRestOfTheFile) {
    CollectionSpec spec = Spec();
    spec.errorLog.clear();
    spec.user = QStringLiteral("; who\nUserName=A\nOrganisation=\"  \"\nEMail=ann@example.org\n");  // blanks are a value
    const QString file = Write(spec);
    QByteArray expected = testsupport::ReadBytes(file);
    ASSERT_FALSE(Ends(file));

    const QString defaultLog = folder_.path() + QStringLiteral("/ZORError.Log");
    // Values are taken by position: with ReplyTo absent, p3 is the e-mail
    // line, and the missing p4 gives EMail its default under its own key.
    const QStringList user = {gSettings().UserName(), gSettings().Organisation(), gSettings().ReplyTo(),
                              gSettings().EMail(), gSettings().ErrorLog()};
    EXPECT_EQ(user, QStringList({"Unknown", "  ", "ann@example.org", "Unknown", defaultLog}));
    expected.replace("UserName=A\n", "UserName=Unknown\n");
    expected.replace("EMail=ann@example.org\n", "EMail=Unknown\n");
    expected.replace("ErrorLog=\n", "ErrorLog=" + defaultLog.toUtf8() + "\n");
    EXPECT_EQ(testsupport::ReadBytes(file), expected);
}

TEST_F(InitialiseTest, MissingEntrySectionLogsItsLineAndEnds) {
    const QString notice = QStringLiteral(" Please e-mail: SUPPORT@ZORSCR.EXAMPLE.ORG with Initialisation Error ");
    const std::pair<QString, QString> cases[] = {  // after a skipped "fast" Playspeed: 13 Type mismatch
        {"Main", "<<ERR033>> - Corrupt Descriptions Failure 0 "},
        {"Audio", "Corrupt Audio Descriptions. " + notice +
                      "034 as the subject header.\r\n<<ERR034>> - Corrupt Audio Failure 13 Type mismatch"},
    };
    for (const auto& [section, message] : cases) {
        SCOPED_TRACE(section.toStdString());
        QFile::remove(LogPath());
        CollectionSpec spec = Spec();
        EntrySpec entry = Entry(QStringLiteral("a.avi"));
        entry.overrides = {{{"Main", 6}, "fast"}};
        entry.omittedSections = {section};
        spec.entries = {Entry(QStringLiteral("first.avi")), entry};
        EXPECT_TRUE(Ends(Write(spec)));
        EXPECT_EQ(gMovies().Count(), 1);
        EXPECT_TRUE(IsLogRecordOf(LogText(), message)) << LogText().toStdString();
    }
}

TEST_F(InitialiseTest, UnusableSettingsSectionEndsBeforeAnything) {
    const std::pair<QByteArray, int> cases[] = {  // the text, and the cursor shown for a misplaced format mark
        {"[ZOR]\n", 0},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\nErrorLog=x\nDefaultStartupVid=\nSkin=\nMoviesInGroup=0\n", 1},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\nErrorLog=x\nSkin=\ndefaultstartupvid=\nMoviesInGroup=0\n", 1},
        {"[ZOR]\nVersion=1\nRunAs=SCREENSAVER\n", 1},
        {QByteArray("\x00\xff\xfe[ZOR\x00]\n\x01=\x02\n", 14), 0},
    };
    for (const auto& [text, cursorShown] : cases) {
        SCOPED_TRACE(text.toStdString());
        const QString file = Write(text);
        const int cursor = platform::CursorDisplayCount();
        EXPECT_TRUE(Ends(file));
        EXPECT_EQ(platform::CursorDisplayCount() - cursor, cursorShown);
        EXPECT_EQ(testsupport::ReadBytes(file), text);
        EXPECT_FALSE(QFile::exists(LogPath()));
    }
    for (const QString count : {"abc", "-3", "40000"}) {  // an entry count that is no count loads nothing
        CollectionSpec spec = Spec();
        spec.entries = {Entry(QStringLiteral("a.avi"))};
        spec.moviesInGroup = count;
        ASSERT_FALSE(Ends(Write(spec)));
        EXPECT_EQ(gMovies().Count(), 0) << count.toStdString();
    }
}

// A CD track entry of a collection made on Windows names a drive Linux does
// not have: it stays when the disc in the machine's drive has its track,
// and is dropped as a moved file when not, or without a disc.
TEST_F(InitialiseTest, CdTrackEntriesStayWhenTheDiscHasTheirTrack) {
    const std::pair<const char*, int> names[] = {
        {"Track01.cda", 1}, {"D:\\TRACK07.CDA", 7}, {"/media/cd/track12.Cda", 12}, {"Track00.cda", 0},
        {"Track100.cda", 0}, {"Track01.wav", 0}, {"MyTrack01.cda", 0}};
    for (const auto& [name, track] : names) EXPECT_EQ(CdTrackNumber(name), track) << name;

    CollectionSpec spec = Spec();
    for (const char* name : {"Track01.cda", "TRACK05.CDA", "Track06.cda"}) spec.entries << EntrySpec{name, "D:\\", {}, {}};
    const QString file = Write(spec);
    const std::pair<std::optional<platform::CdTracks>, QStringList> drives[] = {
        {platform::CdTracks{1, 5}, {"Track01.cda", "TRACK05.CDA"}}, {std::nullopt, {}}};
    for (const auto& [disc, kept] : drives) {
        platform::SetDiscTracksForTesting([disc] { return disc; });
        ASSERT_FALSE(Ends(file));
        QStringList names;
        for (int n = 1; n <= gMovies().Count(); ++n) names << gMovies().Item(n).MovieName();
        EXPECT_EQ(names, kept);
    }
    platform::SetDiscTracksForTesting({});
    EXPECT_TRUE(LogText().contains("D:\\Track06.cda has been moved")) << qPrintable(LogText());
}

}  // namespace
