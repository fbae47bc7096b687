#include "startup/SubMain.h"

#include <gtest/gtest.h>

#include "config/Instances.h"
#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"
#include "support/CollectionFile.h"
#include "support/TestSupport.h"

using namespace config;
using namespace show;
using namespace startup;

namespace {

class SubMainTest : public testsupport::ProgramFolderTest {};

TEST_F(SubMainTest, CommandLineDecisions) {
    const QString shows = ProgramFile(QStringLiteral("Holiday.ini"));
    const QString notIni = ProgramFile(QStringLiteral("Holiday.txt"));
    const QString spaced = ProgramFile(QStringLiteral("My Shows.Ini"));
    for (const QString& f : {shows, notIni, spaced}) testsupport::WriteBytes(f, "[ZOR]\n");
    const std::tuple<QString, QString, QString> cases[] = {  // line, command, collection
        {"", "/C", ""},
        {"/s", "/S", ""},
        {"/S " + shows, "/S " + shows.toUpper(), ""},  // a path after a switch is never taken
        {shows, "/C", shows},                          // keeps the case the user gave
        {"\"" + spaced + "\"", "/C", spaced},
        {notIni, "/C", ""},
        // A path that names no file is ignored, as on Windows: never a switch.
        {"/archive/x", "/C", ""},
        {"/Shows.ini", "/C", ""},
    };
    for (const auto& [given, command, collection] : cases) {
        const CommandLine line = ReadCommandLine(given);
        EXPECT_EQ(line.command + u'|' + line.collectionPath, command + u'|' + collection);
    }
}

TEST_F(SubMainTest, PreviewHandleFromTheTrailingDigits) {
    const std::pair<QString, qint32> cases[] = {
        {"/P 1230", 1230}, {"/P:1234", 1234}, {"/P 12a34", 34}, {" /P 0042 ", 42}, {"/P 2147483647", 2147483647},
    };
    for (const auto& [command, handle] : cases) EXPECT_EQ(ParsePreviewHandle(command), handle) << command.toStdString();
    const QString log = ProgramFile(QStringLiteral("ZORScr.Log"));
    EXPECT_FALSE(QFile::exists(log));

    EXPECT_THROW(ParsePreviewHandle(QStringLiteral("/P")), vb::ProgramEnded);
    EXPECT_TRUE(IsLogRecordOf(testsupport::ReadText(log), "<<ERR002>> - Hwnd API Failure 13 Type mismatch"));
    // When the line cannot be written the preview goes on with handle 0.
    gSettings().LetErrorLog(ProgramFile(QStringLiteral("no/folder/x.log")));
    EXPECT_EQ(ParsePreviewHandle(QStringLiteral("/P")), 0);
}

// A show whose player cannot start ends with the start-up's line in the log,
// with the player's reason.
TEST_F(SubMainTest, APlayerThatCannotStartIsLoggedAsAStartUpFailure) {
    const QString shows = ProgramFile(QStringLiteral("Shows.ini"));
    testsupport::WriteBytes(ProgramFile(QStringLiteral("a.avi")), "clip");
    testsupport::CollectionSpec spec;
    spec.entries = {{QStringLiteral("a.avi"), QStringLiteral("CURRDIR"), {}, {}}};
    testsupport::WriteBytes(shows, testsupport::CollectionText(spec));
    SetCoverMaker([]() -> std::unique_ptr<frmCover> {
        throw vb::VbError(429, QStringLiteral("libmpv option vo=libmpv: option not found"));
    });
    const int cursor = platform::CursorDisplayCount();
    EXPECT_THROW(Main(shows), vb::ProgramEnded);
    SetCoverMaker({});
    EXPECT_EQ(platform::CursorDisplayCount(), cursor);  // hidden for the show, shown on the way out
    const QString log = testsupport::ReadText(ProgramFile(QStringLiteral("ZORError.Log")));
    EXPECT_TRUE(IsLogRecordOf(log, "<<ERR001>> - General RealPlayer Initialisation failure - RealPlayer MUST be "
                                   "installed in this version of ZOR429 libmpv option vo=libmpv: option not found"));
}

}  // namespace
