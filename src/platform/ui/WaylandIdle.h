#pragma once
// The compositor's word on idleness, for the idle mode on Wayland: a
// notification after a threshold without input, and another at the next
// input (ext-idle-notify-v1, else KDE's org_kde_kwin_idle, which sway 1.7
// and KWin offer). Compositors hold it off while a program inhibits idling
// (a video player playing). Events come on the connection's descriptor;
// the owner watches it and calls Dispatch. One thread.

#include <QString>
#include <chrono>
#include <memory>

namespace platform {

class WaylandIdle {
public:
    using Clock = std::chrono::steady_clock;

    // Connects to the compositor WAYLAND_DISPLAY names. Usable() is false
    // without one, or when it offers neither protocol or no seat.
    explicit WaylandIdle(long long thresholdMs);
    ~WaylandIdle();
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    bool Usable() const;
    QString Protocol() const;  // which of the two is used
    int Fd() const;
    // Reads and handles what came; false when the connection broke.
    bool Dispatch();
    bool Idle() const;                  // for the threshold, by the last news
    Clock::time_point LastInput() const;  // when the last input was reported (or the watch began)

    struct State;  // the protocol objects and what they said

private:
    std::unique_ptr<State> state_;
};

}  // namespace platform
