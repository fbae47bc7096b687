// The command line as xscreensaver gives it: its own options, and the setup
// of its list of display modes.

#include <QDir>
#include <QFile>
#include <sys/stat.h>

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
        CollectionSpec named;
        named.entries = {Entry(clip)};
        WriteBytes(arguments.last(), CollectionText(named));
        const auto show = program_.Start(arguments);
        EXPECT_TRUE(screen_.Shows(kCentre, colour)) << qPrintable(arguments.join(u' '));
    }
}

// The list is made when missing, and the entry inserted into each of its
// forms with every other byte kept (line ends, tabs, bytes that are no
// UTF-8, the mode); a list that runs zorscr already, by any path and
// disabled or not, stays as it is, as does every list on a second run.
TEST(CommandLineE2E, SetupAddsTheDisplayModeOnce) {
    const QByteArray entry = "  \"ZORScr\"  zorscr --root  \\n\\\n";
    const QByteArray odd = "# mine\r\nmode:\t\trandom\nprograms:\t\t\\\n\t\tqix -root\t\t\\n\\\n"
                           "-\t\"\xe9t\xe9\"  maze -root  \\n\\\n\nlock: True";
    const struct {
        std::optional<QByteArray> start;
        QByteArray end;  // how the file ends after the first run; empty: as it started
    } cases[] = {
        {std::nullopt, "\nprograms:\t\\\n" + entry + "\n"},
        {odd, QByteArray(odd).insert(odd.indexOf("\n\nlock") + 1, entry)},
        {"mode: one", "mode: one\n\nprograms:\t\\\n" + entry + "\n"},
        {"programs: qix -root", "programs:\t\\\n" + entry + " qix -root"},
        {"programs:\\\n qix -root \\n\\\n maze -root", "programs:\\\n" + entry + " qix -root \\n\\\n maze -root"},
        {"programs: \\\n qix -root \\n\\", "programs: \\\n qix -root \\n\\\n" + entry},
        {"programs: \"zorscr\" xzorscr -root\n", "programs:\t\\\n" + entry + " \"zorscr\" xzorscr -root\n"},
        {"a: \\\nprograms: x\n*programs: \\\n-  GL:  \"Mine\"  /opt/ZORScr -root -- My.ini \\n\\\n\n", {}},
    };
    for (const auto& [start, end] : cases) {
        SCOPED_TRACE(start.value_or("(none)").toStdString());
        const TempFolder home;
        const QString path = home.file(".xscreensaver");
        if (start) WriteBytes(path, *start), ::chmod(QFile::encodeName(path).constData(), 0600);
        for (const bool adds : {!end.isEmpty(), false}) {
            const Ran ended = RunProgram(ZORSCR_EXE, {"--setup", "xscreensaver"}, {{"DISPLAY", {}}, {"HOME", home.path()}});
            EXPECT_EQ(ended.code, 0) << ended.err.toStdString();
            EXPECT_EQ(ended.out, (adds ? "added ZORScr to " : "ZORScr is already in ") + path + u'\n');
            EXPECT_TRUE(ReadBytes(path).endsWith(end.isEmpty() ? *start : end)) << ReadBytes(path).toStdString();
            struct stat facts {};
            const bool modeKept = ::stat(QFile::encodeName(path).constData(), &facts) == 0 && (facts.st_mode & 0777) == 0600;
            EXPECT_TRUE(modeKept || !start);
        }
    }

    const TempFolder home;
    ASSERT_TRUE(QDir().mkpath(home.file(".xscreensaver")));
    const Ran ended = RunProgram(ZORSCR_EXE, {"--setup=xscreensaver"}, {{"DISPLAY", {}}, {"HOME", home.path()}});
    EXPECT_EQ(ended.code, 1);
    EXPECT_TRUE(ended.err.contains("cannot add ZORScr to " + home.file(".xscreensaver") + ": it is a folder"))
        << ended.err.toStdString();
}

}  // namespace
