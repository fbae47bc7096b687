#include "platform/system/ProgramInfo.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>
#include <optional>

#include "platform/system/FileSystem.h"

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

#ifndef ZOR_PROGRAM_DIR
#error "the build names the installed program's folder in ZOR_PROGRAM_DIR"
#endif

// The package's folder of the program (/usr/lib/zorscr) is the package
// manager's: root may write there, but a file left in it would outlive
// apt-get purge.
bool IsInstalledFolder(const QString& folder) {
    return folder.endsWith(QLatin1String("/" ZOR_PROGRAM_DIR));
}

}  // namespace

QString ProgramDirectory() {
    if (DirectoryOverride()) return *DirectoryOverride();
    return Executable().absolutePath();
}

QString UserConfigDirectory() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + QStringLiteral("/.config");
    return JoinPath(config, QStringLiteral("ZORScr"));
}

QString UserStateDirectory() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    const QString own = JoinPath(state, QStringLiteral("ZORScr"));
    MakePrivateFolder(own);  // a folder that cannot be made fails at the first write, with its reason
    return own;
}

QString SettingsDirectory() {
    const QString program = ProgramDirectory();
    if (!IsInstalledFolder(program) && ::access(QFile::encodeName(program).constData(), W_OK) == 0) return program;
    // An installed copy: each user's files are their own.
    const QString own = UserConfigDirectory();
    MakePrivateFolder(own);  // a folder that cannot be made fails at the first write, with its reason
    return own;
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
