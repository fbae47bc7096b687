#pragma once
// How long the desktop session has had no input, as the X server counts it
// (its screen saver extension): the desktop's own count, so no input device
// is read and nothing is polled between the caller's questions. A program
// that holds screen savers off (a video player) resets that count through
// the server (XResetScreenSaver, `xset s reset`), so it holds this off too.

#include <QString>
#include <memory>
#include <optional>

struct _XDisplay;

namespace platform {

class SessionIdle {
public:
    // Opens its own connection to the display DISPLAY names; Error() says
    // why there is none (no display, no screen saver extension).
    SessionIdle();
    ~SessionIdle();
    SessionIdle(const SessionIdle&) = delete;
    SessionIdle& operator=(const SessionIdle&) = delete;

    const QString& Error() const { return error_; }
    // Milliseconds since the last input; nothing when the server cannot
    // tell (or Error() is set).
    std::optional<long long> IdleMs() const;

private:
    _XDisplay* display_ = nullptr;
    QString error_;
};

}  // namespace platform
