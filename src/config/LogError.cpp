#include "config/LogError.h"

#include "config/Instances.h"
#include "errors/ErrorLog.h"
#include "platform/system/ProgramInfo.h"
#include "platform/vb/EndProgram.h"

using namespace errors;

namespace config {

void LogError(const QString& message, bool endProgram) {
    ZOR2& settings = gSettings();
    if (settings.ErrorLog().isEmpty())
        settings.LetErrorLog(platform::JoinPath(platform::SettingsDirectory(), QStringLiteral("ZORScr.Log")));
    AppendToErrorLog(settings.ErrorLog(), message, endProgram);
}

void EndCannotShow(const QString& message) {
    SayOnStandardError(message);
    LogError(message, false);
    vb::EndProgram(vb::kCouldNotShow);
}

QString CollectionProblem(const QString& file, const QString& problem) {
    return QStringLiteral("The collection %1 cannot be shown: it %2").arg(file, problem);
}

}  // namespace config
