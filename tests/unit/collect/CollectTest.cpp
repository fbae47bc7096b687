#include "collect/Commands.h"
#include "collect/Collection.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <sys/stat.h>

#include "collect/FolderWalk.h"
#include "config/Initialise.h"
#include "config/Instances.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/system/CdDrive.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"

using namespace config;
using namespace collect;

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;

class CollectTest : public testsupport::ProgramFolderTest {
protected:
    QString ini_ = ProgramFile("Shows.ini");
    QString errors_;
    int Collect(QStringList arguments) {
        QString out;
        QTextStream outStream(&out), errStream(&errors_);
        errors_.clear();
        const int code = RunCollect(arguments, outStream, errStream, false);
        outStream.flush(), errStream.flush();
        listing_ = out;
        return code;
    }
    // Loads the file the way the show does.
    void Load() {
        platform::profile::WritePrivateProfileString(std::nullopt, std::nullopt, std::nullopt, ini_);
        testsupport::ResetProgramState();
        Initialise(ini_);
    }
    QString Names() {
        Load();
        QStringList names;
        for (int i = 1; i <= gMovies().Count(); ++i) names << gMovies().Item(i).MovieName().section(u'.', 0, 0);
        return names.join(u' ');
    }
    QString listing_;
};

// What the maker writes is what the show reads: each option lands in the
// property the show uses, in the loader's units.
TEST_F(CollectTest, EntriesLoadAsTheShowReadsThem) {
    testsupport::MakeClip(ProgramFile("clip.mp4"), testsupport::ColourSource(Qt::red, 64, 48), 1);
    testsupport::MakeStill(ProgramFile("cat.jpg.png"), testsupport::ColourSource(Qt::blue, 40, 30));
    const QString odd = ProgramFile("\"a=b;[c] \"");  // quotes, =, ;, [ and a trailing space survive the INI
    QFile::copy(ProgramFile("cat.jpg.png"), odd);
    WriteBytes(ProgramFile("page.txt"), "<!DOCTYPE html><p>hi</p>");
    ASSERT_EQ(Collect({"new", ini_, "--runas", "screensaver_nomousemove", "--still-delay", "8"}), kExitDone) << qPrintable(errors_);
    ASSERT_EQ(Collect({"add", ini_, ProgramFile("clip.mp4"), "--speed", "0.5", "--volume", "-6", "--balance=-3",
                       "--loop-start", "1", "--loop-end", "2.5", "--loop-forever", "--play-size", "100"}),
              kExitDone) << qPrintable(errors_);
    ASSERT_EQ(Collect({"add", ini_, ProgramFile("cat.jpg.png"), ProgramFile("page.txt"), "https://example.org/",
                       "--own-size"}), kExitDone) << qPrintable(errors_);
    ASSERT_EQ(Collect({"add", ini_, odd, ProgramFile("clip.mp4")}), kExitDone) << qPrintable(errors_);
    Load();
    ASSERT_EQ(gMovies().Count(), 6);
    EXPECT_TRUE(gMovies().Item(5).PlayFullScreen() && gMovies().Item(6).PlayFullScreen());  // the default
    EXPECT_EQ(gMovies().Item(5).Path() + gMovies().Item(5).MovieName(), odd);
    EXPECT_EQ(gSettings().RunMode(), "SCREENSAVER_NOMOUSEMOVE");
    EXPECT_EQ(gSettings().StillDelayTimer(), 8);
    Movie& clip = gMovies().Item(1);
    EXPECT_EQ(std::make_tuple(clip.Path() + clip.MovieName(), clip.Playspeed(), clip.volume(), clip.Balance().ToDouble(),
                              clip.LoopStart().ToDouble(), clip.LoopEnd().ToDouble(), clip.Playsize()),
              std::make_tuple(ProgramFile("clip.mp4"), 5, 600, 700.0, 1.0, 2.5, 1500));
    EXPECT_TRUE(clip.LoopForever() && !clip.PlayFullScreen() && !clip.IsStill() && !clip.IsHTML());
    Movie& still = gMovies().Item(2);
    EXPECT_TRUE(still.IsStill() && !still.PlayFullScreen());
    EXPECT_EQ(QString("%1x%2").arg(still.StillW()).arg(still.StillH()), "40x30");
    EXPECT_TRUE(gMovies().Item(3).IsHTML());
    EXPECT_EQ(gMovies().Item(3).MovieName(), "file://" + ProgramFile("page.txt"));
    EXPECT_EQ(gMovies().Item(4).MovieName(), "https://example.org/");
    ASSERT_EQ(Collect({"list", ini_}), kExitDone);
    EXPECT_TRUE(listing_.contains("speed 0.5, volume -6 dB, balance -3 dB, part 1 s to 2.5 s, loop forever, play size 100 px"))
        << qPrintable(listing_);
    EXPECT_TRUE(listing_.contains("cat.jpg.png  (own size)")) << qPrintable(listing_);
}

// check finds a CD track of a collection made on Windows on the disc in the
// drive, and reports it when the disc lacks it, as the show would drop it.
TEST_F(CollectTest, CheckLooksForCdTracksOnTheDisc) {
    testsupport::CollectionSpec spec;
    spec.entries = {testsupport::EntrySpec{"Track03.cda", "D:\\", {}, {}}};
    WriteBytes(ini_, testsupport::CollectionText(spec));
    const std::pair<std::optional<platform::CdTracks>, int> drives[] = {
        {platform::CdTracks{1, 5}, kExitDone}, {platform::CdTracks{1, 2}, kExitBadInput}, {std::nullopt, kExitBadInput}};
    for (const auto& [disc, code] : drives) {
        platform::SetDiscTracksForTesting([disc] { return disc; });
        EXPECT_EQ(Collect({"check", ini_}), code) << qPrintable(errors_);
    }
    platform::SetDiscTracksForTesting({});
    EXPECT_TRUE(errors_.contains("D:\\Track03.cda: the disc in the CD drive has no track 3")) << qPrintable(errors_);
}

// Renumbering moves whole entries; a change that cannot be made leaves the
// file as it was. Pictures the show can draw pass the check as stills.
TEST_F(CollectTest, MoveAndRemoveRenumber) {
    ASSERT_EQ(Collect({"new", ini_}), kExitDone);
    ASSERT_TRUE(QDir().mkpath(ProgramFile("sub")));  // a folder's folders are walked too
    for (const char* name : {"a", "b", "c", "d", "sub/e"}) testsupport::MakeStill(ProgramFile(QString(name) + ".png"), testsupport::ColourSource(Qt::red, 8, 8));
    ASSERT_EQ(Collect({"add", ini_, folder_.path()}), kExitDone) << qPrintable(errors_);
    EXPECT_EQ(Names(), "a b c d e");  // the collection file itself is no media and was skipped
    EXPECT_EQ(Collect({"check", ini_}), kExitDone) << qPrintable(errors_);
    const std::tuple<QStringList, int, QString> cases[] = {
        {{"move", ini_, "5", "1"}, kExitDone, "e a b c d"},
        {{"move", ini_, "1", "3"}, kExitDone, "a b e c d"},
        {{"remove", ini_, "3", "1", "3"}, kExitDone, "b c d"},
        {{"remove", ini_, "4"}, kExitBadInput, "b c d"},
        {{"move", ini_, "1", "x"}, kExitUsage, "b c d"},
        {{"add", ini_, ProgramFile("nothing.png")}, kExitBadInput, "b c d"},
        {{"add", ini_, ProgramFile("a.png"), "--own-size", "--full-screen"}, kExitUsage, "b c d"},
    };
    for (const auto& [arguments, code, names] : cases) {
        EXPECT_EQ(Collect(arguments), code) << qPrintable(arguments.join(' '));
        EXPECT_EQ(Names(), names) << qPrintable(arguments.join(' '));
    }
}

// A file made on Windows keeps every byte outside the new entries; bad
// files and a run that holds the lock are refused without a change.
TEST_F(CollectTest, KeepsBytesAndRefusesBadFiles) {
    const QByteArray windows = "; made on Windows\r\n[User]\r\nUserName=Ren\xe9\r\n[ZOR]\r\nVersion=1\r\nRunAs=SCREENSAVER\r\n"
                               "ErrorLog=\r\nSkin=\r\nDefaultStartupVid=\r\nMoviesInGroup=0\r\n";
    WriteBytes(ini_, windows);
    testsupport::MakeStill(ProgramFile("x.png"), testsupport::ColourSource(Qt::red, 8, 8));
    ASSERT_EQ(Collect({"add", ini_, ProgramFile("x.png")}), kExitDone) << qPrintable(errors_);
    QByteArray after = ReadBytes(ini_);
    EXPECT_TRUE(after.startsWith(QByteArray(windows).replace("MoviesInGroup=0", "MoviesInGroup=1"))) << after.constData();
    EXPECT_FALSE(after.contains("\n[Movie1Main]\n")) << "new lines take the file's CRLF";

    WriteBytes(ProgramFile("garbage.ini"), "\x01\x02 not an ini");
    WriteBytes(ProgramFile("disagrees.ini"), windows + "[Movie1Main]\r\nMovieName=x\r\n");
    ::mkfifo(QFile::encodeName(ProgramFile("fifo.ini")).constData(), 0600);
    WriteBytes(ProgramFile("line\nbreak.png"), ReadBytes(ProgramFile("x.png")));
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{"add", ProgramFile("garbage.ini"), ProgramFile("x.png")}, kExitBadInput, "not a collection file"},
        {{"add", ProgramFile("disagrees.ini"), ProgramFile("x.png")}, kExitBadInput, "MoviesInGroup says 0"},
        {{"add", ProgramFile("fifo.ini"), ProgramFile("x.png")}, kExitBadInput, "regular file"},
        {{"add", ini_, ProgramFile("line\nbreak.png")}, kExitBadInput, "line break"},
        {{"new", ini_}, kExitBadInput, "already exists"},
        {{"new", ProgramFile("n.ini"), "--error-log", '/' + QString(4095, u'a')}, kExitBadInput, "error log's path"},
        {{"add", ini_}, kExitUsage, "usage"},
        {{"frobnicate"}, kExitUsage, "no command"},
    };
    after = ReadBytes(ini_);
    for (const auto& [arguments, code, message] : cases) {
        EXPECT_EQ(Collect(arguments), code) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(errors_.contains(message)) << qPrintable(errors_);
    }
    {
        QString why;
        const std::optional<Collection> held = Collection::Open(ini_, false, &why);  // another run's
        ASSERT_TRUE(held) << qPrintable(why);
        EXPECT_EQ(Collect({"remove", ini_, "1"}), kExitBadInput);
        EXPECT_TRUE(errors_.contains("another ZORCollect run")) << qPrintable(errors_);
    }
    QFile::setPermissions(ini_, QFile::ReadOwner);
    EXPECT_EQ(Collect({"remove", ini_, "1"}), kExitBadInput);
    EXPECT_EQ(ReadBytes(ini_), after);
}

// The show keeps a page at least ten seconds; a shorter --page-delay is
// stored as given, with a note that it acts as ten.
TEST_F(CollectTest, AShortPageDelayIsNoted) {
    for (const auto& [seconds, noted] : {std::pair{"6", true}, {"9.5", true}, {"10", false}, {"0", false}}) {
        EXPECT_EQ(Collect({"new", ProgramFile(seconds + QStringLiteral(".ini")), "--page-delay", seconds}), kExitDone);
        EXPECT_EQ(errors_.contains(QStringLiteral("--page-delay %1 acts as 10").arg(seconds)), noted) << qPrintable(errors_);
    }
}

TEST(FolderWalkTest, NaturalOrder) {
    QStringList names{"clip10", "Clip2", "f", "clip1", "b", "été", "a10b", "a1", "a9c", "a01"};
    SortNaturally(names);
    EXPECT_EQ(names.join(u' '), "a01 a1 a9c a10b b clip1 Clip2 clip10 été f");
}

}  // namespace
