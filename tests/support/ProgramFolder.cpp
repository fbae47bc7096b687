#include "support/ProgramFolder.h"

#include "errors/ErrorLog.h"
#include "platform/system/ProgramInfo.h"
#include "platform/vb/VbError.h"
#include "state/RunState.h"

namespace testsupport {

ProgramFolderTest::ProgramFolderTest() : started_(QDateTime::currentDateTime()) {
    ResetProgramState();
    vb::Err().Clear();
    platform::SetProgramDirectoryForTesting(folder_.path());
    gIniFileName = QStringLiteral("ZORScr.INI");
}

ProgramFolderTest::~ProgramFolderTest() {
    ResetProgramState();
    platform::SetProgramDirectoryForTesting(QString());
}

bool ProgramFolderTest::IsLogRecordOf(const QString& text, const QString& message) const {
    const QDateTime end = QDateTime::currentDateTime().addSecs(1);
    for (QDateTime t = started_.addMSecs(-started_.time().msec()); t <= end; t = t.addSecs(1))
        if (text == LogRecord(message, t)) return true;
    return false;
}

}  // namespace testsupport
