#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <stdexcept>

#include "config/Instances.h"
#include "errors/ErrorLog.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/MessageBox.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbError.h"
#include "state/RunState.h"

using namespace state;
using namespace errors;
using namespace config;

namespace testsupport {
namespace {

void Ffmpeg(const QStringList& arguments) {
    Tool("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i"} + arguments);
}

}  // namespace

Ran RunProgram(const QString& program, const QStringList& arguments, const std::map<QString, QString>& environment,
               const QString& folder, int timeoutMs) {
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment) value.isNull() ? changed.remove(name) : changed.insert(name, value);
    QProcess process;
    process.setProcessEnvironment(changed);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (process.state() != QProcess::NotRunning) process.kill(), process.waitForFinished();
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString Tool(const QString& program, const QStringList& arguments, const QString& folder) {
    const Ran ran = RunProgram(program, arguments, {}, folder, 180000);
    if (ran.code != 0) throw std::runtime_error((program + u' ' + arguments.join(u' ') + ": " + ran.err).toStdString());
    return ran.out;
}

std::map<QString, QString> NoDisplay(const QString& runtime) {
    return {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}, {"WAYLAND_SOCKET", {}}, {"QT_QPA_PLATFORM", {}},
            {"ZORSCR_MPV_HEADLESS", {}}, {"XDG_RUNTIME_DIR", runtime}};
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

QString ReadText(const QString& path) { return QFile::exists(path) ? QString::fromUtf8(ReadBytes(path)) : QString(); }

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void ResetProgramState() {
    ResetRunState();
    ResetInstances();
}

QString ColourSource(const QColor& colour, int width, int height) {
    return QStringLiteral("color=c=0x%1:size=%2x%3:rate=25").arg(colour.name().mid(1)).arg(width).arg(height);
}

void MakeClip(const QString& path, const QString& picture, double seconds, bool tone) {
    const QStringList sound = tone ? QStringList{"-f", "lavfi", "-i", "sine=frequency=440"} : QStringList{};
    Ffmpeg(QStringList{picture} + sound + QStringList{"-t", QString::number(seconds), "-c:v", "libx264", "-preset", "ultrafast",
                                                      "-pix_fmt", "yuv420p"} +
           (tone ? QStringList{"-c:a", "aac", "-shortest", path} : QStringList{"-an", path}));
}

void MakeTone(const QString& path, double seconds) {
    Ffmpeg({"sine=frequency=440", "-t", QString::number(seconds), "-vn", path});
}

void MakeStill(const QString& path, const QString& picture) { Ffmpeg({picture, "-frames:v", "1", path}); }

TempFolder::TempFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
}

void ScopedEnv::Set(const char* name, const QByteArray& value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        it->second.isNull() ? qunsetenv(it->first.constData()) : qputenv(it->first.constData(), it->second);
}

ProgramFolderTest::ProgramFolderTest()
    : started_(QDateTime::currentDateTime()),
      previousEnd_(vb::SetEndProgramHook([](int code) { throw vb::ProgramEnded{code}; })) {
    previousBox_ = platform::SetMessageBoxHook([this](const QString& text, const QString& title) {
        boxes_ << title + QStringLiteral(": ") + text;
    });
    ResetProgramState();
    vb::Err().Clear();
    platform::SetProgramDirectoryForTesting(folder_.path());
    gIniFileName = QStringLiteral("ZORScr.INI");
}

ProgramFolderTest::~ProgramFolderTest() {
    ResetProgramState();
    platform::SetProgramDirectoryForTesting(QString());
    platform::SetMessageBoxHook(previousBox_);
    vb::SetEndProgramHook(previousEnd_);
}

bool ProgramFolderTest::EndsProgram(const std::function<void()>& call) {
    try {
        call();
    } catch (const vb::ProgramEnded&) {
        return true;
    }
    return false;
}

bool ProgramFolderTest::IsLogRecordOf(const QString& text, const QString& message) const {
    const QDateTime end = QDateTime::currentDateTime().addSecs(1);
    for (QDateTime t = started_.addMSecs(-started_.time().msec()); t <= end; t = t.addSecs(1))
        if (text == LogRecord(message, t)) return true;
    return false;
}

}  // namespace testsupport
