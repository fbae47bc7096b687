#include "config/LogError.h"

#include "config/Instances.h"
#include "errors/ErrorLog.h"
#include "platform/system/ProgramInfo.h"

void LogError(const QString& message, bool endProgram) {
    ZOR2& settings = gSettings();
    if (settings.ErrorLog().isEmpty())
        settings.LetErrorLog(platform::JoinPath(platform::SettingsDirectory(), QStringLiteral("ZORScr.Log")));
    AppendToErrorLog(settings.ErrorLog(), message, endProgram);
}
