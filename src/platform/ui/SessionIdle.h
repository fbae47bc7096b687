#pragma once
// Whether the desktop session has gone without input for a threshold, as
// the desktop itself tells, so no input device is read:
// - the Wayland compositor's idle notifications (WaylandIdle), where it
//   offers them: news on a descriptor, no asking;
// - else GNOME's idle monitor (org.gnome.Mutter.IdleMonitor on the session
//   bus), then the X server's screen saver extension: asked for the idle
//   time when the threshold can first have been reached, never in between.
// A program that holds screen savers off holds this off too: Wayland's idle
// inhibitors, under GNOME what gnome-session counts as inhibiting idleness,
// on X11 a video player's XResetScreenSaver (`xset s reset`). It only keeps
// the session from becoming idle: input still decides when a show ends.
// One thread.

#include <QString>
#include <chrono>
#include <memory>
#include <optional>

struct _XDisplay;

namespace platform {

class WaylandIdle;

class SessionIdle {
public:
    using Clock = std::chrono::steady_clock;

    explicit SessionIdle(long long thresholdMs);
    ~SessionIdle();
    SessionIdle(const SessionIdle&) = delete;
    SessionIdle& operator=(const SessionIdle&) = delete;

    // Why no desktop can tell (no display, no extension); empty when one can.
    const QString& Error() const { return error_; }
    QString Source() const;  // "the X server", ... for messages
    // A descriptor that becomes readable when the desktop has news (then
    // call Dispatch), or -1 when it sends none and is asked instead.
    int Fd() const;
    bool Dispatch();  // false: the connection to the desktop broke
    // Milliseconds until the session can have gone the threshold without
    // input: 0 when it has, -1 when only news can tell; nothing when the
    // desktop no longer answers.
    std::optional<long long> MsUntilIdle() const;
    // Whether input came after the moment given; nothing as above.
    std::optional<bool> InputSince(Clock::time_point moment) const;

private:
    std::optional<long long> IdleMs() const;  // asked of GNOME or the X server
    bool Inhibited() const;                    // by a program, as gnome-session says

    long long thresholdMs_;
    std::unique_ptr<WaylandIdle> wayland_;  // when the compositor tells
    bool gnome_ = false;
    _XDisplay* display_ = nullptr;
    QString error_;
};

}  // namespace platform
