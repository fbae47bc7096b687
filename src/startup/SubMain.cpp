#include "startup/SubMain.h"

#include <QElapsedTimer>

#include "config/EntryAddress.h"
#include "config/Initialise.h"
#include "config/Instances.h"
#include "config/LogError.h"
#include "errors/ErrorLog.h"
#include "password/PasswordStore.h"
#include "password/frmLogin.h"
#include "platform/profile/FileSnapshot.h"
#include "platform/system/FileProblem.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/ForeignWindow.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/PrevInstance.h"
#include "platform/ui/WindowLookup.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"
#include "platform/vb/VbString.h"
#include "remote/FrmControl.h"
#include "show/FormInstances.h"
#include "show/HostedShow.h"
#include "show/ScreenCovers.h"
#include "show/frmCover.h"
#include "show/RunShow.h"
#include "state/RunState.h"
#include "web/frmZORWeb.h"

using namespace state;
using namespace errors;
using namespace config;
using namespace password;
using namespace show;
using namespace remote;

namespace startup {

CommandLine ReadCommandLine(const QString& commandLine) {
    CommandLine result;
    const QString given = vb::Trim(commandLine);
    result.command = given.isEmpty() ? QStringLiteral("/C") : vb::UCase(given);

    // A bare path names a collection file. On Linux a path has slashes too,
    // so a text that names an existing file counts as a path whatever it
    // holds; the file name keeps the case the user gave it.
    const QString path = vb::Trim(QString(given).replace(u'"', u' '));
    // Text whose first word is plainly a path (a "/" after the switch
    // letters, or a name with "INI") but names no file is ignored, as Windows
    // ignores such a path: the program INI file is used. Switches, with what
    // follows them ("/S", "/s:123", "/P 1234"), stay.
    const QString word = result.command.section(u' ', 0, 0);
    const bool plainlyPath = word.indexOf(u'/', 1) >= 0 || word.contains(QStringLiteral("INI"));
    const bool namesFile = platform::NormalFileExists(path);
    if (!result.command.contains(u'/') || namesFile || plainlyPath) {
        result.collectionPath = namesFile ? path : QString();
        result.command = QStringLiteral("/C");
    }
    if (!vb::UCase(result.collectionPath).contains(QStringLiteral("INI"))) result.collectionPath.clear();
    if (result.collectionPath.isEmpty() && (namesFile || plainlyPath)) result.ignoredPath = path;
    return result;
}

qint32 ParsePreviewHandle(const QString& command) {
    return vb::OnError(
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

void SetShowCaption() {
    if (platform::PrevInstance()) TheCover().setWindowTitle(QStringLiteral("Zorascope"));
}

namespace {

void NameProgramIni() { gIniFileName = platform::ExecutableName() + QStringLiteral(".INI"); }

// Plays the first entry inside the window named on the command line for
// nine seconds, then ends the program.
[[noreturn]] void RunPreview(const QString& command) {
    const auto handle = static_cast<unsigned long>(static_cast<quint32>(ParsePreviewHandle(command)));
    const platform::ClientRect client = platform::GetClientRect(handle);

    Movie& first = gMovies().Item(1);
    QWidget* target = nullptr;
    if (!first.IsHTML() && !first.IsTrueRM()) {
        frmCover& cover = TheCover();
        cover.setWindowTitle(QStringLiteral("Preview"));
        cover.Med_Saver->LetTop(0);
        target = &cover;
    } else if (first.IsHTML()) {
        gWebAddress = WebAddress(first);  // read by the web page window's load step
        target = &TheZORWeb();
    }
    if (target) platform::ParentIntoForeignWindow(*target, handle, client.right, client.bottom);

    // Nine seconds of the preview, measured as elapsed time so that a
    // preview started just before midnight ends too.
    constexpr qint64 kPreviewMs = 9000;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < kPreviewMs) platform::WaitForEvents(static_cast<int>(kPreviewMs - elapsed.elapsed()));
    vb::EndProgram();
}

// A path given that the program passes over for its own collection, said
// so that nobody wonders why another collection shows or none does.
void SayIfIgnored(const CommandLine& line) {
    if (line.ignoredPath.isEmpty()) return;
    QString problem = platform::ReadProblem(line.ignoredPath, platform::profile::kMaxProfileBytes);
    if (problem.isEmpty()) problem = QStringLiteral("has no \"INI\" in its name");
    SayOnStandardError(QStringLiteral("%1 is not used as a collection: it %2; the program's own collection is read")
                           .arg(line.ignoredPath, problem));
}

CommandLine ReadAndSay(const QString& commandLine) {
    const CommandLine line = ReadCommandLine(commandLine);
    SayIfIgnored(line);
    return line;
}

void Start(const QString& commandLine) {
    NameProgramIni();
    const CommandLine line = ReadAndSay(commandLine);
    const bool anotherInstance = platform::PrevInstance();  // also registers this copy

    const QString switchText = line.command.left(2);
    if (switchText == QStringLiteral("/S")) {
        if (anotherInstance) vb::EndProgram();
        gRunMode = kRunModeShow;
    } else if (switchText == QStringLiteral("/P")) {
        if (anotherInstance) vb::EndProgram();
        if (platform::FindTopLevelWindow(QStringLiteral("Zorascope")) != 0) vb::EndProgram();
        DecidePasswordInForce();
        gRunMode = kRunModePreview;
        gExitOnMouseMove = true;
    } else if (switchText == QStringLiteral("/A")) {
        gPassword.clear();
        ReadPassword();
        platform::ShowCursor(true);
        frmLogin login;
        platform::ShowModal(login);
        vb::EndProgram();
    } else {
        gRunMode = kRunModeShow;
    }

    Initialise(line.collectionPath);

    if (RunningShow()) {
        SetShowCaption();
        DecidePasswordInForce();
        ForgetStopRequest();
        platform::SetCursorPos(-1000, -1000);
        platform::ShowCursor(false);
        SetControlMaker([] { return std::make_unique<FrmControl>(); });
        CoverOtherScreens();
        RunShow();
        platform::ShowCursor(true);
        vb::EndProgram();
    }
    RunPreview(line.command);
}

void LogStartFailure(const vb::VbError& e) {
    LogError(QStringLiteral("<<ERR001>> - General RealPlayer Initialisation failure - RealPlayer MUST be "
                            "installed in this version of ZOR") +
                 NumberAndDescription(e.number(), e.description()),
             true);
}

}  // namespace

bool StartShowsPages(const QString& commandLine) {
    NameProgramIni();
    return CollectionHasPages(ReadCommandLine(commandLine).collectionPath);
}

void EndWithoutDisplay(const QString& commandLine, const QString& problem) {
    NameProgramIni();
    gSettings().LetErrorLog(ErrorLogOf(ReadCommandLine(commandLine).collectionPath));
    EndCannotShow(problem);
}

void Main(const QString& commandLine) {
    vb::OnError([&] { Start(commandLine); }, LogStartFailure);
    platform::ShowCursor(true);
    vb::EndProgram();
}

void MainInHost(unsigned long window, const QString& collection) {
    // Not a registered copy: a host starts one per screen, and the
    // Windows-style starts must not take a host's show for a running one.
    NameProgramIni();
    gHostWindow = window;
    vb::OnError(
        [&] {
            Initialise(ReadAndSay(collection).collectionPath);
            RunHostedShow();
        },
        LogStartFailure);
    vb::EndProgram();
}

}  // namespace startup
