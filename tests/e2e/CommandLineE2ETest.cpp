// The command line as xscreensaver gives it: its own options, and the setup
// of its list of display modes.

#include <QDir>
#include <QFile>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

// xscreensaver's frame-rate option before the collection named: that
// collection plays, not the program's own. (Help, version and unknown
// switches: HardshipE2E.)
TEST_F(ShowE2E, XScreensaverOptionsBeforeTheCollection) {
    WriteShow("SCREENSAVER", {Entry("green.mp4")});
    const struct {
        QStringList arguments;
        QString clip;
        QColor colour;
    } shows[] = {
        {{"--root", "--fps", "--", program_.file("Red.ini")}, "long-red.mp4", kRed},
        {{"--root", "-fps", program_.file("Blue.ini")}, "blue.mp4", kBlue},
    };
    for (const auto& [arguments, clip, colour] : shows) {
        WriteBytes(arguments.last(), CollectionText({.entries = {Entry(clip)}}));
        const auto show = program_.Start(arguments);
        EXPECT_TRUE(screen_.Shows(kCentre, colour)) << qPrintable(arguments.join(u' '));
    }
}

// --setup xscreensaver adds the display mode once, or says why it cannot.
// (Where it goes in each form of the list: XScreensaverSetupTest.)
TEST(CommandLineE2E, SetupAddsTheDisplayModeOnce) {
    const TempFolder home;
    const QString path = home.file(".xscreensaver");
    for (const char* said : {"added ZORScr to ", "ZORScr is already in "}) {
        const Ran ended = RunProgram(ZORSCR_EXE, {"--setup", "xscreensaver"}, {{"DISPLAY", {}}, {"HOME", home.path()}});
        EXPECT_EQ(ended.code, 0) << ended.err.toStdString();
        EXPECT_EQ(ended.out, said + path + u'\n');
    }
    EXPECT_TRUE(ReadBytes(path).contains("\"ZORScr\"  zorscr --root")) << ReadBytes(path).toStdString();
    ASSERT_TRUE(QFile::remove(path) && QDir().mkpath(path));
    const Ran ended = RunProgram(ZORSCR_EXE, {"--setup=xscreensaver"}, {{"DISPLAY", {}}, {"HOME", home.path()}});
    EXPECT_EQ(ended.code, 1);
    EXPECT_TRUE(ended.err.contains("cannot add ZORScr to " + path + ": it is a folder")) << ended.err.toStdString();
}

}  // namespace
