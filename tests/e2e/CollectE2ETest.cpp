// A collection made with the maker, as a person would make one, plays in
// the show in the order the maker gave it. (Its options: CollectTest.)

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// A folder on a share the desktop mounted is long before its first folder
// of its own: a clip deep inside one is added too, and the show finds and
// plays it, writing its log beside it.
TEST_F(ShowE2E, AMadeCollectionPlaysInItsOrder) {
    const QString folder = program_.file("gvfs/smb-share:server=nas.local,share=media/Films and Family/"
                                         "2019 Summer Holiday in the Mountains (edited, full length)/"
                                         "Day 03 - The Long Walk to the Lake above the Village/Raw Footage/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString deep = folder + "green clip from the second camera.mp4", log = folder + "ZORError.Log";
    ASSERT_GT(folder.size(), 200);
    MakeClip(deep, ColourSource(kGreen), 2);
    const QString ini = program_.file("Shows.ini");
    const auto collect = [](const QStringList& arguments) { return RunProgram(ZORCOLLECT_EXE, arguments).code; };
    ASSERT_EQ(collect({"new", ini, "--runas", "SCREENSAVER_NOMOUSEMOVE", "--still-delay", "3", "--error-log", log}), 0);
    ASSERT_EQ(collect({"add", ini, program_.file("red.mp4"), program_.file("green.mp4"), program_.file("blue.mp4"),
                       program_.file("yellow.png"), "--full-screen"}), 0);
    ASSERT_EQ(collect({"move", ini, "4", "2"}), 0);  // red, yellow, green, blue
    ASSERT_EQ(collect({"add", ini, deep}), 0);
    auto show = program_.Start({ini});
    for (const QColor& colour : {kRed, kYellow, kGreen, kBlue, kGreen}) EXPECT_TRUE(screen_.Shows(kCentre, colour)) << qPrintable(colour.name());
    show.reset();
    EXPECT_FALSE(QFile::exists(log)) << qPrintable(ReadText(log));  // nothing moved, nothing failed

    QFile::remove(program_.file("green.mp4"));
    EXPECT_EQ(collect({"check", ini}), 1);
}

}  // namespace
