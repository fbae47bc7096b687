#pragma once
// How long the desktop session has had no input, as the desktop counts it,
// so no input device is read and nothing is polled between the caller's
// questions: GNOME's idle monitor (org.gnome.Mutter.IdleMonitor on the
// session bus) where it runs, else the X server's screen saver extension. A
// program that holds screen savers off resets that count (on X11 a video
// player's XResetScreenSaver, `xset s reset`), so it holds this off too.

#include <QString>
#include <memory>
#include <optional>

struct _XDisplay;

namespace platform {

class SessionIdle {
public:
    // Asks the session bus for GNOME's monitor, else opens its own
    // connection to the display DISPLAY names; Error() says why there is
    // neither (no display, no screen saver extension).
    SessionIdle();
    ~SessionIdle();
    SessionIdle(const SessionIdle&) = delete;
    SessionIdle& operator=(const SessionIdle&) = delete;

    const QString& Error() const { return error_; }
    // What counts: "GNOME's idle monitor" or "the X server".
    QString Source() const;
    // Milliseconds since the last input; nothing when the server cannot
    // tell (or Error() is set).
    std::optional<long long> IdleMs() const;

private:
    bool gnome_ = false;
    _XDisplay* display_ = nullptr;
    QString error_;
};

}  // namespace platform
