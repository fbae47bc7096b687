#include "platform/ui/DisplayChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QPluginLoader>
#include <X11/Xlib.h>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

// Whether a plugin of Qt's platforms answers to name. Read from the
// plugins' metadata, which needs no plugin loaded, in the folders Qt
// itself looks in.
bool PluginInstalled(const QString& name) {
    QStringList folders = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    for (const QString& path : QCoreApplication::libraryPaths()) folders << path + QStringLiteral("/platforms");
    for (const QString& folder : folders) {
        for (const QString& file : QDir(folder).entryList({QStringLiteral("*.so")}, QDir::Files)) {
            const QJsonArray keys =
                QPluginLoader(folder + u'/' + file).metaData().value(u"MetaData").toObject().value(u"Keys").toArray();
            for (const auto& key : keys)
                if (key.toString().compare(name, Qt::CaseInsensitive) == 0) return true;
        }
    }
    return false;
}

QString PluginProblem(const QString& name) {
    if (PluginInstalled(name)) return {};
    return QStringLiteral("Qt's platform plugin \"%1\" is not installed").arg(name) +
           (name.startsWith(u"wayland") ? QStringLiteral(" (Debian package qt6-wayland)") : QString());
}

bool WaylandNamed() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_SOCKET"); }

// Connects to the compositor's socket where libwayland would: WAYLAND_DISPLAY
// ("wayland-0" when unset) in XDG_RUNTIME_DIR, or as an absolute path.
QString WaylandProblem() {
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET")) return {};  // a connection handed down
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    const QString cannot = QStringLiteral("cannot open the Wayland display \"%1\": ").arg(name);
    QString path = name;
    if (!QDir::isAbsolutePath(name)) {
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return cannot + QStringLiteral("XDG_RUNTIME_DIR is not set");
        path = qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + name;
    }
    const QByteArray file = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (file.size() >= qsizetype(sizeof address.sun_path)) return cannot + QStringLiteral("its path is too long");
    std::memcpy(address.sun_path, file.constData(), size_t(file.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = socket >= 0 && ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int error = errno;
    if (socket >= 0) ::close(socket);
    return connected ? QString() : cannot + QString::fromLocal8Bit(std::strerror(error));
}

QString XProblem() {
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty()) return QStringLiteral("no display to show on (DISPLAY is not set)");
    Display* display = XOpenDisplay(name.constData());
    if (!display) return QStringLiteral("cannot open the display \"%1\"").arg(QString::fromLocal8Bit(name));
    XCloseDisplay(display);
    return {};
}

// What keeps one of Qt's platforms ("wayland:option" names "wayland") from starting.
QString PlatformProblem(const QString& platform) {
    const QString name = platform.section(u':', 0, 0);
    if (QString problem = PluginProblem(name); !problem.isEmpty()) return problem;
    if (name.startsWith(u"wayland")) return WaylandProblem();
    if (name == u"xcb") return XProblem();
    return {};  // off screen, a framebuffer, VNC: no display to reach first
}

// The user's QT_QPA_PLATFORM, a list tried in order ("wayland;xcb").
DisplayChoice Named(const QString& platforms) {
    DisplayChoice choice;
    for (const QString& platform : platforms.split(u';', Qt::SkipEmptyParts)) {
        const QString problem = PlatformProblem(platform);
        if (problem.isEmpty()) return {};
        if (choice.problem.isEmpty()) choice.problem = problem + QStringLiteral(" (QT_QPA_PLATFORM is \"%1\")").arg(platforms);
    }
    return choice;
}

DisplayChoice Found(bool drawsIntoX11Window) {
    const QString x11 = XProblem();
    if (drawsIntoX11Window) {
        if (x11.isEmpty()) return {QStringLiteral("xcb"), {}};
        if (qEnvironmentVariableIsEmpty("DISPLAY") && WaylandNamed())
            return {{},
                    QStringLiteral("drawing into another program's window needs an X display (DISPLAY is not set); "
                                   "a Wayland session gives programs no window ids"),
                    true};
        return {{}, x11};
    }
    const QString wayland = WaylandNamed() ? PlatformProblem(QStringLiteral("wayland")) : QString();
    if (WaylandNamed() && wayland.isEmpty()) return {QStringLiteral("wayland"), {}};
    if (x11.isEmpty()) return {QStringLiteral("xcb"), {}};
    if (!WaylandNamed() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return {{}, QStringLiteral("no display to show on (neither WAYLAND_DISPLAY nor DISPLAY is set)")};
    if (!WaylandNamed()) return {{}, x11};
    return {{}, qEnvironmentVariableIsEmpty("DISPLAY") ? wayland : wayland + QStringLiteral("; ") + x11};
}

}  // namespace

DisplayChoice ChooseDisplay(bool drawsIntoX11Window) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return Named(qEnvironmentVariable("QT_QPA_PLATFORM"));
    DisplayChoice choice = Found(drawsIntoX11Window);
    if (!choice.problem.isEmpty() && qEnvironmentVariable("ZORSCR_MPV_HEADLESS") == QLatin1String("1"))
        return {QStringLiteral("offscreen"), {}};
    return choice;
}

void UseDisplay(const DisplayChoice& choice) {
    if (!choice.platform.isEmpty()) qputenv("QT_QPA_PLATFORM", choice.platform.toLocal8Bit());
}

}  // namespace platform
