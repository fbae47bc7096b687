#include "platform/system/ProgramInfo.h"

#include <QFileInfo>
#include <optional>

namespace platform {
namespace {

std::optional<QString>& DirectoryOverride() {
    static std::optional<QString> folder;
    return folder;
}

const QFileInfo& Executable() {
    static const QFileInfo info(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    return info;
}

}  // namespace

QString ProgramDirectory() {
    if (DirectoryOverride()) return *DirectoryOverride();
    return Executable().absolutePath();
}

QString ExecutableName() { return Executable().completeBaseName(); }

QString JoinPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

void SetProgramDirectoryForTesting(const QString& folder) {
    if (folder.isEmpty())
        DirectoryOverride().reset();
    else
        DirectoryOverride() = folder;
}

}  // namespace platform
