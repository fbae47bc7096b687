#include "support/WaylandPointer.h"

#include <QFile>
#include <QThread>
#include <cstring>
#include <stdexcept>
#include <wayland-client.h>

namespace testsupport {
namespace {

// zwlr_virtual_pointer_v1: only the requests used are named; the opcodes are the protocol's.
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

void ClickOnWayland(const QString& socketPath, QPoint point, QSize layout, unsigned button) {
    wl_display* display = wl_display_connect(QFile::encodeName(socketPath).constData());
    if (!display) throw std::runtime_error("cannot reach the compositor at " + socketPath.toStdString());
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
    send(kMotionAbsolute, 0u, uint32_t(point.x()), uint32_t(point.y()), uint32_t(layout.width()),
         uint32_t(layout.height()));
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

}  // namespace testsupport
