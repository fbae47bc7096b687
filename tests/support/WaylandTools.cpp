#include "support/WaylandTools.h"

#include "support/CollectionFile.h"
#include "support/WaylandPointer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <functional>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {
namespace {

// Root hands the process to nobody; anybody else runs it as themselves.
void StartAsDisplayUser(QProcess& process, const QString& program, const QStringList& arguments) {
    if (::geteuid() != 0) return process.start(program, arguments);
    process.start("setpriv", kAsNobody + QStringList{program} + arguments);
}

QColor FirstPixel(const QImage& image) { return image.isNull() ? QColor() : image.pixelColor(0, 0); }

}  // namespace

void WaylandDisplay::InstallShow(const TempFolder& folder, const QColor& colour) {
    QFile::copy(ZORSCR_EXE, folder.file("ZORScr"));
    MakeClip(folder.file("clip.mp4"), ColourSource(colour), 30);
    WriteBytes(folder.file("ZORScr.INI"), CollectionText({.entries = {{"clip.mp4", "CURRDIR", {}, {}}}}));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GiveToNobody(folder.path());
}

WaylandDisplay::WaylandDisplay(int outputs) : layout_(outputs > 1 ? 2080 : 1280, 720) {
    for (const char* tool : {"sway", "grim", "wtype", "setpriv"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) problem_ += QStringLiteral(" %1 is not installed;").arg(tool);
    if (!problem_.isEmpty()) return;
    WriteBytes(runtime_.file("sway.conf"), "output HEADLESS-1 resolution 1280x720 position 0 0\n"
                                           "output HEADLESS-2 resolution 800x600 position 1280 0\nxwayland disable\n");
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);  // 0700
    GiveToNobody(runtime_.path());
    QProcessEnvironment environment = Environment();
    environment.insert("WLR_BACKENDS", "headless");
    environment.insert("WLR_LIBINPUT_NO_DEVICES", "1");
    environment.insert("WLR_RENDERER", "pixman");
    environment.insert("WLR_HEADLESS_OUTPUTS", QString::number(outputs));
    environment.remove("WAYLAND_DISPLAY");
    sway_ = std::make_unique<ChildProcess>();
    sway_->setProcessEnvironment(environment);
    sway_->setProcessChannelMode(QProcess::MergedChannels);  // said only when it fails
    // A full-screen window that sway hands to the output directly (scan-out)
    // is on the screen but not in what grim reads; compose every picture.
    StartAsDisplayUser(*sway_, "sway", {"-D", "noscanout", "-c", runtime_.file("sway.conf")});
    QElapsedTimer clock;
    clock.start();
    while (socket_.isEmpty() && sway_->state() != QProcess::NotRunning && clock.elapsed() < 20000) {
        sway_->waitForFinished(100);  // sleeps
        for (const QString& name : QDir(runtime_.path()).entryList({"wayland-*"}, QDir::System))
            if (!name.endsWith(".lock")) socket_ = name;
    }
    if (socket_.isEmpty())
        problem_ = QStringLiteral("sway did not start: ") + QString::fromLocal8Bit(sway_->readAll().right(2000));
}

WaylandDisplay::~WaylandDisplay() = default;  // sway ends with its ChildProcess

QProcessEnvironment WaylandDisplay::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "SWAYSOCK"})
        environment.remove(name);
    environment.insert("XDG_RUNTIME_DIR", runtime_.path());
    environment.insert("WAYLAND_DISPLAY", socket_);
    return environment;
}

std::unique_ptr<ChildProcess> WaylandDisplay::Start(const QString& program, const QStringList& arguments,
                                                    const QString& folder,
                                                    const std::map<QString, QString>& settings) const {
    auto process = std::make_unique<ChildProcess>();
    QProcessEnvironment environment = Environment();
    environment.insert("HOME", folder);
    for (const auto& [name, value] : settings) environment.insert(name, value);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setWorkingDirectory(folder);
    StartAsDisplayUser(*process, program, arguments);
    if (!process->waitForStarted()) throw std::runtime_error(program.toStdString() + " did not start");
    return process;
}

QByteArray WaylandDisplay::Tool(const QString& program, const QStringList& arguments) const {
    const auto process = Start(program, arguments, runtime_.path());
    if (!process->waitForFinished(20000)) throw std::runtime_error(program.toStdString() + " did not finish");
    return process->readAllStandardOutput();
}

bool WaylandDisplay::Shows(QPoint at, const QColor& colour, int timeoutMs) const {
    const QString area = QStringLiteral("%1,%2 1x1").arg(at.x()).arg(at.y());
    return WaitUntil([&] {
        return VirtualDisplay::Near(FirstPixel(QImage::fromData(Tool("grim", {"-g", area, "-t", "ppm", "-"}))), colour);
    }, timeoutMs);
}

// The headless seat has no keyboard until wtype makes one, and sway
// may give the window the keyboard only after wtype's first press, as a key
// already down whose release alone arrives. A pause first lets the
// keyboard reach the window before any key.
void WaylandDisplay::Type(const QString& text) const { Tool("wtype", {"-s", "300", text}); }

void WaylandDisplay::Click(QPoint at, unsigned button) const {
    ClickOnWayland(runtime_.file(socket_), at, layout_, button);
}

QRect WaylandDisplay::Shown(const QString& title) const {
    const std::function<QRect(const QJsonObject&)> find = [&](const QJsonObject& node) {
        const QJsonObject rect = node["rect"].toObject();
        if (node["name"].toString() == title && node["visible"].toBool())
            return QRect(rect["x"].toInt(), rect["y"].toInt(), rect["width"].toInt(), rect["height"].toInt());
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node[children].toArray())
                if (const QRect found = find(child.toObject()); !found.isEmpty()) return found;
        return QRect();
    };
    return find(QJsonDocument::fromJson(SwayOutput({"-t", "get_tree"})).object());
}

void WaylandDisplay::Sway(const QStringList& command) const { SwayOutput(command); }

QByteArray WaylandDisplay::SwayOutput(const QStringList& arguments) const {
    const QStringList sockets = QDir(runtime_.path()).entryList({"sway-ipc.*.sock"}, QDir::System);
    if (sockets.isEmpty()) throw std::runtime_error("sway has no command socket");
    return Tool("swaymsg", QStringList{"-s", runtime_.file(sockets.first())} + arguments);
}

}  // namespace testsupport
