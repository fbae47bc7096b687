#include <gtest/gtest.h>

#include <QFile>
#include <sys/stat.h>

#include "config/Instances.h"
#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "platform/ui/Cursor.h"
#include "platform/system/ProgramInfo.h"
#include "platform/vb/EndProgram.h"
#include "support/TestSupport.h"

using namespace errors;
using namespace config;

namespace {

using LogErrorTest = testsupport::ProgramFolderTest;

TEST_F(LogErrorTest, AppendsToTheConfiguredLogAndEndsWhenAsked) {
    EXPECT_EQ(LogRecord(QStringLiteral("<<ERR002>> - Hwnd API Failure 13 Type mismatch"),
                        QDateTime(QDate(2026, 12, 5), QTime(9, 56, 42))),
              QStringLiteral("<<ERR002>> - Hwnd API Failure 13 Type mismatch Error Logged at >>  - 05-12-2026  -  \r"
                             " 05-12-2026  -   9:56:42 AM\r\n"));

    // An empty setting goes to the program's own log and keeps its path; the
    // NULs of an empty value's read buffer do not reach it.
    LogError(QStringLiteral("ear") + QString(128, QChar(u'\0')) + QStringLiteral("ly"), false);
    EXPECT_EQ(gSettings().ErrorLog(), ProgramFile(QStringLiteral("ZORScr.Log")));
    const int cursor = platform::CursorDisplayCount();
    EXPECT_THROW(LogError(QStringLiteral("second"), true), vb::ProgramEnded);
    EXPECT_EQ(platform::CursorDisplayCount(), cursor + 1);
    const QStringList records = testsupport::ReadText(gSettings().ErrorLog()).split("\r\n");
    ASSERT_EQ(records.size(), 3);  // two records and the empty rest after the last line end
    EXPECT_TRUE(IsLogRecordOf(records[0] + "\r\n", QStringLiteral("early")));
    EXPECT_TRUE(IsLogRecordOf(records[1] + "\r\n", QStringLiteral("second")));
}

// A log that cannot be written, is a folder or a FIFO (which nobody reads:
// opening it must not wait) takes the fallback file.
TEST_F(LogErrorTest, UnwritableLogWritesTheWarningAndGoesOn) {
    const QString fifo = ProgramFile(QStringLiteral("pipe.log"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& bad : {ProgramFile(QStringLiteral("missing/folder/x.log")), folder_.path(), fifo})
        EXPECT_NO_THROW(AppendToErrorLog(bad, QStringLiteral("lost"), true));
    const QByteArray record =
        "lost\r\n\r\n **** W A R N I N G ****\r\n\r\nError Handler did not process an error correctly. Possibly check "
        " the Errorlog path is not set to an incorrect drive mapping in the INI file Or  You do not have Write "
        "permissions for this workstation. Contact your system administrator.\r\n";
    EXPECT_EQ(testsupport::ReadBytes(ProgramFile(QStringLiteral("ZORScrERROR.LOG"))), record + record + record);
}

// An installed copy's folder is not the user's to write: the log and the
// fallback file go to the user's own folder, made private on first use.
TEST_F(LogErrorTest, ProgramFolderNotWritableUsesTheUsersFolder) {
    const testsupport::TempFolder home;
    const testsupport::ScopedEnv config("XDG_CONFIG_HOME", home.path().toUtf8());
    platform::SetProgramDirectoryForTesting(ProgramFile(QStringLiteral("not-there")));
    const QString own = home.file(QStringLiteral("ZORScr"));
    LogError(QStringLiteral("early"), false);
    AppendToErrorLog(ProgramFile(QStringLiteral("missing/x.log")), QStringLiteral("lost"), false);
    platform::SetProgramDirectoryForTesting(folder_.path());
    EXPECT_EQ(gSettings().ErrorLog(), own + QStringLiteral("/ZORScr.Log"));
    EXPECT_TRUE(IsLogRecordOf(testsupport::ReadText(own + QStringLiteral("/ZORScr.Log")), QStringLiteral("early")));
    EXPECT_TRUE(testsupport::ReadText(own + QStringLiteral("/ZORScrERROR.LOG")).startsWith(QStringLiteral("lost\r\n")));
    EXPECT_EQ(QFile::permissions(own) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);  // no group, no others
}

}  // namespace
