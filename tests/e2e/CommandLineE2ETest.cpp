// The command line as a Linux user and xscreensaver give it: help, version,
// unknown switches, xscreensaver's own options, and the setup of
// xscreensaver's list of display modes.

#include <QDir>
#include <QFile>
#include <sys/stat.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

struct Ended {
    int status;
    QString out, err;
};

// The program run to its end without a display, HOME set when given.
Ended RunWithoutDisplay(const QStringList& arguments, const QString& home = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    if (!home.isEmpty()) environment.insert("HOME", home);
    process.setProcessEnvironment(environment);
    process.start(ZORSCR_EXE, arguments);
    const bool ended = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST_F(ShowE2E, SwitchesOfTheCommandLine) {
    const struct {
        QStringList arguments;
        int status;
        QString out, err;  // what each holds; empty: nothing at all
    } cases[] = {
        {{"--help"}, 0, "Exit status:", ""},
        {{"/S", "-h"}, 0, "Usage: zorscr", ""},
        {{"--version"}, 0, "ZORScr " ZORSCR_VERSION "\n", ""},
        {{"--frobnicate", "--help"}, 2, "", "ZORScr: unknown switch --frobnicate\nUsage: zorscr"},
        {{"--setup", "kde"}, 2, "", "Usage: zorscr"},
    };
    for (const auto& [arguments, status, out, err] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Ended ended = RunWithoutDisplay(arguments);
        EXPECT_EQ(ended.status, status);
        EXPECT_TRUE(out.isEmpty() ? ended.out.isEmpty() : ended.out.contains(out)) << ended.out.toStdString();
        EXPECT_TRUE(err.isEmpty() ? ended.err.isEmpty() : ended.err.contains(err)) << ended.err.toStdString();
    }

    // xscreensaver's frame-rate option before the collection named: that
    // collection plays, not the program's own.
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
            const Ended ended = RunWithoutDisplay({"--setup", "xscreensaver"}, home.path());
            EXPECT_EQ(ended.status, 0) << ended.err.toStdString();
            EXPECT_EQ(ended.out, (adds ? "added ZORScr to " : "ZORScr is already in ") + path + u'\n');
            EXPECT_TRUE(ReadBytes(path).endsWith(end.isEmpty() ? *start : end)) << ReadBytes(path).toStdString();
            struct stat facts {};
            const bool modeKept = ::stat(QFile::encodeName(path).constData(), &facts) == 0 && (facts.st_mode & 0777) == 0600;
            EXPECT_TRUE(modeKept || !start);
        }
    }

    const TempFolder home;
    ASSERT_TRUE(QDir().mkpath(home.file(".xscreensaver")));
    const Ended ended = RunWithoutDisplay({"--setup=xscreensaver"}, home.path());
    EXPECT_EQ(ended.status, 1);
    EXPECT_TRUE(ended.err.contains("cannot add ZORScr to " + home.file(".xscreensaver") + ": it is a folder"))
        << ended.err.toStdString();
}

}  // namespace
