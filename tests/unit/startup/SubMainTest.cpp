#include <gtest/gtest.h>

#include "config/Instances.h"
#include "platform/vb/EndProgram.h"
#include "startup/SubMain.h"
#include "state/RunState.h"
#include "support/ProgramFolder.h"

namespace {

class SubMainTest : public testsupport::ProgramFolderTest {};

TEST_F(SubMainTest, CommandLineDecisions) {
    const QString shows = ProgramFile(QStringLiteral("Holiday.ini"));
    const QString notIni = ProgramFile(QStringLiteral("Holiday.txt"));
    const QString spaced = ProgramFile(QStringLiteral("My Shows.Ini"));
    for (const QString& f : {shows, notIni, spaced}) testsupport::WriteBytes(f, "[ZOR]\n");
    struct Case {
        QString line, command, collection;
    };
    const Case cases[] = {
        {"", "/C", ""},
        {"   ", "/C", ""},
        {"/s", "/S", ""},
        {"/SAVER", "/SAVER", ""},
        {"/c:1234", "/C:1234", ""},
        {"/p 4711", "/P 4711", ""},
        {"/S " + shows, "/S " + shows.toUpper(), ""},  // a path after a switch is never taken
        {shows, "/C", shows},                          // keeps the case the user gave
        {"\"" + spaced + "\"", "/C", spaced},
        {notIni, "/C", ""},
        // A Linux path that names no file reads as a switch other than /S, /P or
        // /A: a show on the program INI file, as for a Windows path.
        {ProgramFile("nothere.ini"), ProgramFile("nothere.ini").toUpper(), ""},
        {"Holiday.ini", "/C", ""},  // a bare name that is no file
        {QString(10000, u'x'), "/C", ""},
        {QString(10000, u'/'), QString(10000, u'/'), ""},
    };
    for (const Case& c : cases) {
        const CommandLine line = ReadCommandLine(c.line);
        EXPECT_EQ(line.command, c.command) << c.line.left(80).toStdString();
        EXPECT_EQ(line.collectionPath, c.collection) << c.line.left(80).toStdString();
    }
}

TEST_F(SubMainTest, PreviewHandleFromTheTrailingDigits) {
    const std::pair<QString, qint32> cases[] = {
        {"/P 1234", 1234}, {"/P:1234", 1234}, {"/P 12a34", 34}, {" /P 0042 ", 42}, {"/P 2147483647", 2147483647},
    };
    for (const auto& [command, handle] : cases) EXPECT_EQ(ParsePreviewHandle(command), handle) << command.toStdString();
    EXPECT_FALSE(QFile::exists(ProgramFile(QStringLiteral("ZORScr.Log"))));
}

TEST_F(SubMainTest, UnreadablePreviewHandleLogsAndEnds) {
    const std::pair<QString, QString> cases[] = {
        {"/P", "<<ERR002>> - Hwnd API Failure 13 Type mismatch"},
        {"/P 99999999999", "<<ERR002>> - Hwnd API Failure 6 Overflow"},
    };
    const QString log = ProgramFile(QStringLiteral("ZORScr.Log"));
    for (const auto& [command, message] : cases) {
        QFile::remove(log);
        EXPECT_THROW(ParsePreviewHandle(command), vb::ProgramEnded);
        EXPECT_TRUE(IsLogRecordOf(QString::fromUtf8(testsupport::ReadBytes(log)), message));
    }
    // When the line cannot be written the preview goes on with handle 0.
    gSettings().LetErrorLog(ProgramFile(QStringLiteral("no/folder/x.log")));
    EXPECT_EQ(ParsePreviewHandle(QStringLiteral("/P")), 0);
}

}  // namespace
