// A collection made with the maker, as a person would make one, plays in
// the show in the order the maker gave it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

TEST_F(ShowE2E, AMadeCollectionPlaysInItsOrder) {
    const QString ini = program_.file("Shows.ini");
    const auto collect = [&](const QStringList& arguments) {
        ChildProcess process;
        process.start(ZORCOLLECT_EXE, arguments);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    ASSERT_EQ(collect({"new", ini, "--runas", "SCREENSAVER_NOMOUSEMOVE", "--still-delay", "3"}), 0);
    ASSERT_EQ(collect({"add", ini, program_.file("red.mp4"), program_.file("green.mp4"), program_.file("blue.mp4"),
                       program_.file("yellow.png"), "--full-screen"}), 0);
    ASSERT_EQ(collect({"move", ini, "4", "2"}), 0);  // red, yellow, green, blue
    auto show = program_.Start({ini});
    for (const QColor& colour : {kRed, kYellow, kGreen, kBlue}) EXPECT_TRUE(screen_.Shows(kCentre, colour)) << qPrintable(colour.name());
    show.reset();

    QFile::remove(program_.file("green.mp4"));
    EXPECT_EQ(collect({"check", ini}), 1);
}

// A folder on a share the desktop mounted is long before its first folder
// of its own: a clip deep inside one is added, and the show finds and plays
// it, writing its log beside it.
TEST_F(ShowE2E, AClipInADeepFolderIsAddedAndPlays) {
    const QString folder = program_.file("gvfs/smb-share:server=nas.local,share=media/Films and Family/"
                                         "2019 Summer Holiday in the Mountains (edited, full length)/"
                                         "Day 03 - The Long Walk to the Lake above the Village/Raw Footage/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString clip = folder + "green clip from the second camera.mp4", log = folder + "ZORError.Log";
    ASSERT_GT(folder.size(), 200);
    MakeClip(clip, ColourSource(kGreen), 30);
    const QString ini = program_.file("Shows.ini");
    for (const QStringList& arguments : {QStringList{"new", ini, "--error-log", log}, QStringList{"add", ini, clip}}) {
        ChildProcess process;
        process.start(ZORCOLLECT_EXE, arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitCode(), 0) << qPrintable(process.readAllStandardError());
    }
    auto show = program_.Start({ini});
    EXPECT_TRUE(screen_.Shows(kCentre, kGreen));
    show.reset();
    EXPECT_FALSE(QFile::exists(log)) << qPrintable(ReadText(log));  // nothing moved, nothing failed
}

// The show keeps a page at least ten seconds; a shorter --page-delay is
// stored as given, with a note that it acts as ten.
TEST(CollectE2E, AShortPageDelayIsNoted) {
    const TempFolder folder;
    const struct { const char* seconds; bool noted; } rows[] = {{"6", true}, {"9.5", true}, {"10", false}, {"0", false}};
    for (const auto& row : rows) {
        ChildProcess process;
        process.start(ZORCOLLECT_EXE, {"new", folder.file(row.seconds + QStringLiteral(".ini")), "--page-delay", row.seconds});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << row.seconds;
        const QString said = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(said.contains(QStringLiteral("--page-delay %1 acts as 10").arg(row.seconds)), row.noted) << qPrintable(said);
    }
}

}  // namespace
