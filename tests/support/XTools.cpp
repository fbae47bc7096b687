#include "support/XTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <map>
#include <stdexcept>
#include <unistd.h>

// Last: Xlib's macros (Bool, None, Status) clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testsupport {
namespace {

QByteArray ReadProc(qint64 pid) {
    if (pid <= 0) return {};
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
}

}  // namespace

std::unique_ptr<ChildProcess> StartWith(const QProcessEnvironment& environment, const QString& program,
                                        const QStringList& arguments, const QString& folder) {
    auto process = std::make_unique<ChildProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setWorkingDirectory(folder);
    process->start(program, arguments);
    if (!process->waitForStarted()) throw std::runtime_error(program.toStdString() + " did not start");
    return process;
}

std::unique_ptr<ChildProcess> StartOn(const QString& display, const QString& program, const QStringList& arguments,
                                      const QString& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    environment.remove("WAYLAND_DISPLAY");  // the program would take a desktop's Wayland display first
    if (!folder.isEmpty()) environment.insert("XDG_RUNTIME_DIR", folder);
    return StartWith(environment, program, arguments, folder);
}

PixelProbe::PixelProbe(const QString& display)
    : display_(XOpenDisplay(display.isEmpty() ? nullptr : display.toLocal8Bit().constData())) {
    if (!display_) throw std::runtime_error("no display");
    // A read outside the screen (which shrinks as monitors go) is an X error:
    // Xlib's own handler would end the test and leave the programs it started running.
    XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
}

PixelProbe::~PixelProbe() { XCloseDisplay(display_); }

QColor PixelProbe::At(int x, int y) const {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return {};
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return QColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}

InstalledProgram::InstalledProgram(const QString& display) : display_(display) {
    if (!QFile::copy(ZORSCR_EXE, file("ZORScr")) || !QDir().mkpath(file("plugins")) ||
        !QFile::copy(ZORWEB_PLUGIN, file("plugins/libzorweb.so")))
        throw std::runtime_error("cannot copy the program");
}

int InstalledProgram::Run(const QStringList& arguments, const std::function<bool()>& until) const {
    const auto process = Start(arguments);
    QElapsedTimer clock;
    clock.start();
    while (!process->waitForFinished(50))
        if (until() || clock.elapsed() > 20000) return -1;
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

void GiveToNobody(const QString& path) {
    if (::geteuid() == 0) Tool("chown", {"--no-dereference", "--recursive", "65534:65534", path});
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int stepMs) {
    QElapsedTimer clock;
    for (clock.start(); !done(); QThread::msleep(stepMs))
        if (clock.elapsed() > timeoutMs) return false;
    return true;
}

PrivateBus::PrivateBus(const char* variable, const QStringList& fake) {
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    if (!daemon_.waitForReadyRead(10000)) return;
    address_.Set(variable, daemon_.readLine().trimmed());
    if (!fake.isEmpty()) fake_.start(fake.first(), fake.mid(1));
    serves_ = fake.isEmpty() || (fake_.waitForReadyRead(10000) && fake_.readLine().startsWith("ready"));
}

std::vector<qint64> Descendants(qint64 pid) {
    std::multimap<qint64, qint64> children;  // parent, child
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QString stat = QString::fromLatin1(ReadProc(entry.toLongLong()));
        if (stat.isEmpty()) continue;
        children.emplace(stat.section(u')', -1).section(u' ', 2, 2).toLongLong(), entry.toLongLong());
    }
    std::vector<qint64> found{pid};
    for (size_t i = 0; i < found.size(); ++i)
        for (auto [at, end] = children.equal_range(found[i]); at != end; ++at) found.push_back(at->second);
    found.erase(found.begin());
    return found;
}

std::vector<qint64> Running(qint64 pid, const QString& path) {
    std::vector<qint64> found = Descendants(pid);
    std::erase_if(found, [&](qint64 p) { return !Alive(p) || QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(p)) != path; });
    return found;
}

bool Alive(qint64 pid) {
    const QString stat = QString::fromLatin1(ReadProc(pid));
    return !stat.isEmpty() && stat.section(u')', -1).section(u' ', 1, 1) != "Z";
}

VirtualDisplay::VirtualDisplay(const QStringList& screens) {
    QStringList arguments;
    for (qsizetype i = 0; i < screens.size(); ++i) arguments << "-screen" << QString::number(i) << screens[i];
    StartServer("Xvfb", arguments);
}

VirtualDisplay::VirtualDisplay(QSize room, const QString& xorgConf) {
    WriteBytes(folder_.file("xorg.conf"), ReadText(xorgConf)
                                              .replace("@KIB@", QString::number(room.width() * room.height() * 4 / 1024 + 1024))
                                              .replace("@WIDTH@", QString::number(room.width()))
                                              .replace("@HEIGHT@", QString::number(room.height()))
                                              .toUtf8());
    StartServer("Xorg", {"-config", folder_.file("xorg.conf"), "-logfile", folder_.file("xorg.log")});
}

void VirtualDisplay::StartServer(const QString& program, const QStringList& arguments) {
    // -displayfd: the server takes a free display number and says which.
    // -noreset: by default the server resets when its last client leaves, and
    // turns away a client that connects meanwhile; the tools that look at the
    // screen come and go while the program under test connects.
    server_.setStandardErrorFile(folder_.file("server.err"));
    server_.start(program, QStringList{"-displayfd", "1", "-noreset", "-nolisten", "tcp"} + arguments);
    while (!server_.canReadLine() && server_.waitForReadyRead(20000)) continue;
    name_ = u':' + QString::fromLatin1(server_.readLine()).trimmed();
    if (name_.size() < 2)
        throw std::runtime_error(program.toStdString() + " did not start: " + ReadText(folder_.file("server.err")).toStdString());
}

VirtualDisplay::~VirtualDisplay() { windows_.clear(), server_.terminate(), server_.waitForFinished(); }

bool VirtualDisplay::Plug(int output, const QRect& place) const {
    // A mode of that size at 60 Hz (the dummy takes any clock in its range);
    // making it again fails, harmlessly.
    const int w = place.width(), h = place.height();
    const QString mode = QStringLiteral("zor%1x%2").arg(w).arg(h), out = QStringLiteral("DUMMY%1").arg(output);
    QStringList timings{QString::number((w + 160) * (h + 13) * 60 / 1e6, 'f', 2)};
    for (const int t : {w, w + 16, w + 80, w + 160, h, h + 3, h + 8, h + 13}) timings << QString::number(t);
    Xrandr(QStringList{"--newmode", mode} + timings);
    Xrandr({"--addmode", out, mode});
    return Xrandr({"--output", out, "--mode", mode, "--pos", QStringLiteral("%1x%2").arg(place.x()).arg(place.y())});
}

bool VirtualDisplay::Unplug(int output) const { return Xrandr({"--output", QStringLiteral("DUMMY%1").arg(output), "--off"}); }

VirtualDisplay::Window VirtualDisplay::WaitForWindow(const QString& title) const {
    const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
    for (int tries = 0; tries < 200; ++tries, QThread::msleep(100)) {
        std::map<QString, int> shell;  // WINDOW, X, Y and more
        for (const QString& line :
             Xdotool({"search", "--onlyvisible", "--name", pattern, "getwindowgeometry", "--shell"}).split(u'\n'))
            shell[line.section(u'=', 0, 0)] = line.section(u'=', 1).toInt();
        if (shell["WINDOW"] != 0) return {static_cast<qulonglong>(shell["WINDOW"]), {shell["X"], shell["Y"]}};
    }
    return {};
}

bool VirtualDisplay::Visible(const QString& title) const {
    return !Xdotool({"search", "--onlyvisible", "--name", u'^' + QRegularExpression::escape(title) + u'$'}).trimmed().isEmpty();
}

bool VirtualDisplay::Answer(const QString& title, const QString& key) const {
    if (WaitForWindow(title).id == 0) return false;
    for (int tries = 0; tries < 20; ++tries, QThread::msleep(1000)) {
        if (!Visible(title)) return true;
        Xdotool({"key", key});
    }
    return false;
}

VirtualDisplay::Window VirtualDisplay::OpenWindow(const QString& title, const QRect& place) {
    const QString geometry = QStringLiteral("%1x%2+%3+%4").arg(place.width()).arg(place.height()).arg(place.x()).arg(place.y());
    windows_.push_back(StartOn(name_, "xmessage", {"-geometry", geometry, "-title", title, "        "}));
    return WaitForWindow(title);
}

bool VirtualDisplay::Shows(QPoint at, const QColor& colour, int tolerance, int timeoutMs) const {
    return WaitUntil([&] { return Near(Screen().pixelColor(at), colour, tolerance); }, timeoutMs);
}

bool VirtualDisplay::Near(const QColor& seen, const QColor& colour, int tolerance) {
    return seen.isValid() && std::max({std::abs(seen.red() - colour.red()), std::abs(seen.green() - colour.green()),
                                       std::abs(seen.blue() - colour.blue())}) <= tolerance;
}

}  // namespace testsupport
