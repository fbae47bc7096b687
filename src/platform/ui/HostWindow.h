#pragma once
// A window of another program that the show draws into: a screensaver
// host's (xscreensaver hands its display modes one) or any window named on
// the command line. Looked up before the application opens the display,
// watched while the show runs.

#include <QObject>
#include <QString>
#include <functional>

class QSocketNotifier;
struct _XDisplay;

namespace platform {

struct HostWindowFacts {
    bool exists = false;
    unsigned long id = 0;  // the window looked up (the root window for 0)
    int screen = 0;        // the X screen it lies on
    int width = 0, height = 0;
};

// Looks the window up on the display DISPLAY names; id 0 means that
// display's root window. exists is false without a display and for an id
// that names no window.
HostWindowFacts LookUpHostWindow(unsigned long id);

// The display name with its screen number replaced (":0" and screen 1 give
// ":0.1"), so that the application opens its windows on the host's screen.
QString DisplayOnScreen(const QString& display, int screen);

// Reports the size and the end of a foreign window, read on an X connection
// of its own. The callbacks come from the Qt event loop; Gone comes once.
class HostWindowWatch : public QObject {
public:
    explicit HostWindowWatch(unsigned long id);
    ~HostWindowWatch() override;

    std::function<void(int width, int height)> Resized;  // pixels
    std::function<void()> Gone;

private:
    void ReadEvents();

    _XDisplay* display_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    unsigned long id_;
    bool gone_ = false;
};

// From now on no window of the application takes keyboard or mouse input:
// the host has them (and with them the decision to end the show).
void LeaveInputToHost();

}  // namespace platform
