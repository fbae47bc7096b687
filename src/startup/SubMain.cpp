#include "startup/SubMain.h"

#include "config/Initialise.h"
#include "errors/LogError.h"
#include "errors/OnError.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/PrevInstance.h"
#include "platform/ui/WindowLookup.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbString.h"
#include "startup/RunState.h"

CommandLine ReadCommandLine(const QString& commandLine) {
    CommandLine result;
    const QString given = vb::Trim(commandLine);
    result.command = given.isEmpty() ? QStringLiteral("/C") : vb::UCase(given);

    // A bare path names a collection file. On Linux a path has slashes too,
    // so a text that names an existing file counts as a path whatever it
    // holds; the file name keeps the case the user gave it.
    const QString path = vb::Trim(QString(given).replace(u'"', u' '));
    if (!result.command.contains(u'/') || platform::NormalFileExists(path)) {
        result.collectionPath = platform::NormalFileExists(path) ? path : QString();
        result.command = QStringLiteral("/C");
    }
    if (!vb::UCase(result.collectionPath).contains(QStringLiteral("INI"))) result.collectionPath.clear();
    return result;
}

qint32 ParsePreviewHandle(const QString& command) {
    return OnError(
        [&] {
            const QString text = vb::Trim(command);
            qsizetype first = text.size();
            while (first > 0 && text[first - 1] >= u'0' && text[first - 1] <= u'9') --first;
            return vb::CLng(QStringView(text).mid(first));
        },
        [](const vb::VbError& e) {
            LogError(QStringLiteral("<<ERR002>> - Hwnd API Failure ") + NumberAndDescription(e.number(), e.description()),
                     true);
            return qint32{0};
        });
}

namespace {

void Start(const QString& commandLine) {
    gIniFileName = platform::ExecutableName() + QStringLiteral(".INI");
    const CommandLine line = ReadCommandLine(commandLine);
    const bool anotherInstance = platform::PrevInstance();  // also registers this copy

    const QString switchText = line.command.left(2);
    if (switchText == QStringLiteral("/S")) {
        if (anotherInstance) vb::EndProgram();
        gRunMode = 2;
    } else if (switchText == QStringLiteral("/P")) {
        if (anotherInstance) vb::EndProgram();
        if (platform::FindTopLevelWindow(QStringLiteral("Zorascope")) != 0) vb::EndProgram();
        gRunMode = 3;
        gExitOnMouseMove = true;
    } else if (switchText == QStringLiteral("/A")) {
        gPassword.clear();
        platform::ShowCursor(true);
        vb::EndProgram();
    } else {
        gRunMode = 2;
    }

    Initialise(line.collectionPath);

    if (gRunMode == 3) ParsePreviewHandle(line.command);
    vb::EndProgram();
}

}  // namespace

void Main(const QString& commandLine) {
    OnError([&] { Start(commandLine); },
            [](const vb::VbError& e) {
                LogError(QStringLiteral("<<ERR001>> - General RealPlayer Initialisation failure - RealPlayer MUST be "
                                        "installed in this version of ZOR") +
                             NumberAndDescription(e.number(), e.description()),
                         true);
            });
    platform::ShowCursor(true);
    vb::EndProgram();
}
