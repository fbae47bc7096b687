#include "platform/ui/WaylandIdle.h"

#include <ext-idle-notify-v1-client-protocol.h>
#include <idle-client-protocol.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstring>

namespace platform {

struct WaylandIdle::State {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    bool idle = false;
    Clock::time_point lastInput = Clock::now();

    void Idled() { idle = true; }
    void Resumed() {
        idle = false;
        lastInput = Clock::now();
    }
};

namespace {

using State = WaylandIdle::State;

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* state = static_cast<State*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !state->seat)
        state->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
        state->notifier = static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
        state->kdeIdle = static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}

void GlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistry{Global, GlobalRemoved};

const ext_idle_notification_v1_listener kNotification{
    [](void* data, ext_idle_notification_v1*) { static_cast<State*>(data)->Idled(); },
    [](void* data, ext_idle_notification_v1*) { static_cast<State*>(data)->Resumed(); }};

const org_kde_kwin_idle_timeout_listener kKdeTimeout{
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<State*>(data)->Idled(); },
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<State*>(data)->Resumed(); }};

}  // namespace

WaylandIdle::WaylandIdle(long long thresholdMs) : state_(std::make_unique<State>()) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    State& s = *state_;
    s.display = wl_display_connect(nullptr);
    if (!s.display) return;
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &kRegistry, &s);
    wl_display_roundtrip(s.display);
    if (!s.seat) return;
    const auto timeout = static_cast<uint32_t>(thresholdMs);
    if (s.notifier) {
        s.notification = ext_idle_notifier_v1_get_idle_notification(s.notifier, timeout, s.seat);
        ext_idle_notification_v1_add_listener(s.notification, &kNotification, &s);
    } else if (s.kdeIdle) {
        s.kdeTimeout = org_kde_kwin_idle_get_idle_timeout(s.kdeIdle, s.seat, timeout);
        org_kde_kwin_idle_timeout_add_listener(s.kdeTimeout, &kKdeTimeout, &s);
    }
    wl_display_flush(s.display);
}

WaylandIdle::~WaylandIdle() {
    State& s = *state_;
    if (!s.display) return;
    if (s.notification) ext_idle_notification_v1_destroy(s.notification);
    if (s.kdeTimeout) org_kde_kwin_idle_timeout_release(s.kdeTimeout);
    if (s.notifier) ext_idle_notifier_v1_destroy(s.notifier);
    if (s.kdeIdle) org_kde_kwin_idle_destroy(s.kdeIdle);
    if (s.seat) wl_seat_destroy(s.seat);
    if (s.registry) wl_registry_destroy(s.registry);
    wl_display_disconnect(s.display);
}

bool WaylandIdle::Usable() const { return state_->notification || state_->kdeTimeout; }

QString WaylandIdle::Protocol() const {
    return state_->notification ? QStringLiteral("the compositor (ext-idle-notify-v1)")
                                : QStringLiteral("the compositor (org_kde_kwin_idle)");
}

int WaylandIdle::Fd() const { return wl_display_get_fd(state_->display); }

bool WaylandIdle::Dispatch() {
    if (wl_display_dispatch(state_->display) < 0) return false;
    return wl_display_flush(state_->display) >= 0 || errno == EAGAIN;
}

bool WaylandIdle::Idle() const { return state_->idle; }

WaylandIdle::Clock::time_point WaylandIdle::LastInput() const { return state_->lastInput; }

}  // namespace platform
