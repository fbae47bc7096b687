#include "support/WaylandTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <unistd.h>
#include <wayland-client.h>

namespace testsupport {
namespace {

QColor FirstPixel(const QImage& image) { return image.isNull() ? QColor() : image.pixelColor(0, 0); }

// zwlr_virtual_pointer_v1, declared by hand (Debian ships no description of
// it to generate it from): only the requests used are named; the opcodes are the protocol's.
const wl_interface* kNoTypes[5] = {};  // wl_message wants them mutable
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},          {"motion_absolute", "uuuuu", kNoTypes}, {"button", "uuu", kNoTypes},
    {"axis", "uuf", kNoTypes},            {"frame", "", kNoTypes},                {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes},        {"axis_discrete", "uufi", kNoTypes},    {"destroy", "", kNoTypes},
};
const wl_interface kPointer = {"zwlr_virtual_pointer_v1", 1, 9, kPointerRequests, 0, nullptr};
enum PointerRequest : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };

const wl_interface* kCreateTypes[2] = {&wl_seat_interface, &kPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}, {"destroy", "", kNoTypes}};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 2, kManagerRequests, 0, nullptr};

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void Announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, kManager.name) == 0)
        globals->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
}
void Removed(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {Announced, Removed};

}  // namespace

WaylandDisplay::WaylandDisplay() {
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
    environment.insert("WLR_HEADLESS_OUTPUTS", "2");
    environment.remove("WAYLAND_DISPLAY");
    sway_ = std::make_unique<ChildProcess>();
    sway_->setProcessEnvironment(environment);
    sway_->setProcessChannelMode(QProcess::MergedChannels);  // said only when it fails
    // A full-screen window that sway hands to the output directly (scan-out)
    // is on the screen but not in what grim reads; compose every picture.
    const QStringList sway{"sway", "-D", "noscanout", "-c", runtime_.file("sway.conf")};
    ::geteuid() == 0 ? sway_->start("setpriv", kAsNobody + sway) : sway_->start(sway.first(), sway.mid(1));
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
    QProcessEnvironment environment = Environment();
    environment.insert("HOME", folder);
    for (const auto& [name, value] : settings) environment.insert(name, value);
    if (::geteuid() != 0) return StartWith(environment, program, arguments, folder);
    return StartWith(environment, "setpriv", kAsNobody + QStringList{program} + arguments, folder);
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

// A pointer made for one click and dropped.
void WaylandDisplay::Click(QPoint at, unsigned button) const {
    wl_display* display = wl_display_connect(QFile::encodeName(runtime_.file(socket_)).constData());
    if (!display) throw std::runtime_error("cannot reach sway");
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager) {
        wl_display_disconnect(display);
        throw std::runtime_error("the compositor offers no virtual pointer");
    }
    auto* pointer = wl_proxy_marshal_flags(globals.manager, 0, &kPointer, 1, 0, globals.seat, nullptr);
    const auto send = [&](uint32_t opcode, auto... arguments) {
        wl_proxy_marshal_flags(pointer, opcode, nullptr, 1, opcode == kDestroy ? WL_MARSHAL_FLAG_DESTROY : 0,
                               arguments...);
    };
    // Clients take a pointer only once the seat says it has one.
    wl_display_roundtrip(display);
    QThread::msleep(500);
    send(kMotionAbsolute, 0u, uint32_t(at.x()), uint32_t(at.y()), 2080u, 720u);  // of the outputs' bounding box
    send(kFrame);
    for (const uint32_t state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
        send(kButton, 0u, uint32_t(button), state);
        send(kFrame);
    }
    wl_display_roundtrip(display);  // the compositor has the click before the device goes
    send(kDestroy);
    wl_display_roundtrip(display);
    wl_proxy_destroy(globals.manager);
    wl_seat_destroy(globals.seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
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
    return find(QJsonDocument::fromJson(Sway({"-t", "get_tree"})).object());
}

QByteArray WaylandDisplay::Sway(const QStringList& arguments) const {
    const QStringList sockets = QDir(runtime_.path()).entryList({"sway-ipc.*.sock"}, QDir::System);
    if (sockets.isEmpty()) throw std::runtime_error("sway has no command socket");
    return Tool("swaymsg", QStringList{"-s", runtime_.file(sockets.first())} + arguments);
}

}  // namespace testsupport
