#pragma once
// Processes under test on an X display, the real executable in a folder of
// its own (where its program INI file and its logs live); an X server for
// the length of a test, and what a person does and sees on it, through
// xdotool and ImageMagick's import.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "support/TestSupport.h"

struct _XDisplay;  // Xlib's Display

namespace testsupport {

// A started process, ended with the object if it still runs.
class ChildProcess : public QProcess {
public:
    ~ChildProcess() override { kill(), waitForFinished(); }
    // Waits for it to end; whether it ended by itself with exit code 0.
    bool EndsCleanly(int timeoutMs = 15000) {
        return (state() == NotRunning || waitForFinished(timeoutMs)) && exitStatus() == NormalExit && exitCode() == 0;
    }
    // Waits up to 20 seconds for it to end and gives its output; throws when it does not end.
    QByteArray Output() {
        if (!waitForFinished(20000))
            throw std::runtime_error((program() + u' ' + arguments().join(u' ')).toStdString() + " did not finish");
        return readAllStandardOutput();
    }
};

// Starts program in folder with that environment and its standard error passed on.
std::unique_ptr<ChildProcess> StartWith(const QProcessEnvironment& environment, const QString& program,
                                        const QStringList& arguments, const QString& folder = {});
// The same on the display; a folder given is also its run-time folder (XDG_RUNTIME_DIR).
std::unique_ptr<ChildProcess> StartOn(const QString& display, const QString& program, const QStringList& arguments,
                                      const QString& folder = {});

// setpriv's arguments to act as nobody, the other user of the tests.
const QStringList kAsNobody{"--reuid=65534", "--regid=65534", "--clear-groups"};
// Makes path, and what lies in it, nobody's; only root can, and elsewhere nothing changes.
void GiveToNobody(const QString& path);

// Whether done() holds, asked every stepMs until it does or timeoutMs have passed.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int stepMs = 100);

// A D-Bus daemon of the test's own, its address in variable
// (DBUS_SYSTEM_BUS_ADDRESS or DBUS_SESSION_BUS_ADDRESS) while the object
// lives; with fake given (a program and its arguments, e.g.
// support/FakeDBus.cpp's), that serves on it. Both end with the object.
class PrivateBus {
public:
    explicit PrivateBus(const char* variable, const QStringList& fake = {});
    bool Serves() const { return serves_; }  // the daemon, and the fake that prints "ready", are ready
    qint64 FakePid() const { return fake_.processId(); }

private:
    ChildProcess daemon_, fake_;
    ScopedEnv address_;
    bool serves_ = false;
};

// The processes pid started, and theirs, from /proc.
std::vector<qint64> Descendants(qint64 pid);
// Those of them that are alive and run the program at path.
std::vector<qint64> Running(qint64 pid, const QString& path);
// Whether the process is still there (a zombie that nobody reaps counts as gone).
bool Alive(qint64 pid);

class InstalledProgram {
public:
    explicit InstalledProgram(const QString& display);
    QString file(const QString& name) const { return folder_.file(name); }
    // In a run-time folder of its own: copies run by other tests are no earlier instances.
    std::unique_ptr<ChildProcess> Start(const QStringList& arguments) const {
        return StartOn(display_, file("ZORScr"), arguments, folder_.path());
    }
    // Runs it until it ends and gives its exit code; ends it (-1, as after a
    // crash) once until() holds or after 20 seconds.
    int Run(const QStringList& arguments, const std::function<bool()>& until = [] { return false; }) const;

private:
    TempFolder folder_;
    QString display_;
};

// One pixel of the screen read straight from the X server, fast enough to
// be polled every millisecond (a screenshot takes a tenth of a second).
class PixelProbe {
public:
    // On the display named, or the one in DISPLAY.
    explicit PixelProbe(const QString& display = {});
    ~PixelProbe();
    PixelProbe(const PixelProbe&) = delete;
    PixelProbe& operator=(const PixelProbe&) = delete;
    // Invalid when the server gives no picture (a place outside the screen).
    QColor At(int x, int y) const;

private:
    ::_XDisplay* display_;
};

class VirtualDisplay {
public:
    struct Window {
        qulonglong id = 0;  // 0: none came
        QPoint origin;      // its top-left corner on the screen
    };
    // Xvfb: one screen of 1280 x 720, or X screens of the sizes given ("640x480x24").
    explicit VirtualDisplay(const QStringList& screens = {"1280x720x24"});
    // Xorg's dummy driver, set up by the template xorgConf (support/dummy-xorg.conf),
    // with a screen room of that size whose RandR outputs DUMMY0 (the primary),
    // DUMMY1, ... are monitors plugged in and out (Xvfb's heads all sit at 0,0).
    VirtualDisplay(QSize room, const QString& xorgConf);
    ~VirtualDisplay();
    QString name() const { return name_; }  // ":N"
    // Kills the server at once, as when the session ends under a program.
    void Kill() {
        server_.kill();
        server_.waitForFinished();
    }
    // Runs xdotool with these arguments ({"key", "Escape"}) and gives what it printed.
    QString Xdotool(const QStringList& arguments) const { return QString::fromUtf8(Tool("xdotool", arguments)); }
    // Whether a window whose title is exactly title is mapped.
    bool Visible(const QString& title) const;
    // The mapped window whose title is exactly title, waited for up to 20 seconds.
    Window WaitForWindow(const QString& title) const;
    // Waits for a message box of that title and presses key until it has
    // gone (a key pressed before the box has the keyboard is lost); whether
    // it went within 20 seconds.
    bool Answer(const QString& title, const QString& key) const;
    // The text on the clipboard (CLIPBOARD, as UTF-8); "" when nobody holds one.
    QString Clipboard() const { return QString::fromUtf8(Tool("xclip", {"-o", "-selection", "clipboard"})); }
    // A window of another program (400 x 300 at (100, 100) unless placed), closed with the display.
    Window OpenWindow(const QString& title, const QRect& place = {100, 100, 400, 300});
    // Clicks button (3: the right one) at a point. No --sync: xdotool would wait 15 seconds
    // for a move to where the pointer already is; the click comes after the move all the same.
    void Click(QPoint at, int button = 1) const {
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", QString::number(button)});
    }
    // import reads -display only before its other options.
    QImage Screen(int number = 0) const {
        return QImage::fromData(
            Tool("import", {"-display", name_ + u'.' + QString::number(number), "-silent", "-window", "root", "png:-"}));
    }
    // Output number (of Xorg's dummy) shows as a monitor at place; whether xrandr did it.
    bool Plug(int output, const QRect& place) const;
    bool Unplug(int output) const;
    // Whether the screen shows the colour at a place, each channel within tolerance, within timeoutMs.
    bool Shows(QPoint at, const QColor& colour, int tolerance = 40, int timeoutMs = 15000) const;
    static bool Near(const QColor& seen, const QColor& colour, int tolerance = 40);

private:
    void StartServer(const QString& program, const QStringList& arguments);
    QByteArray Tool(const QString& program, const QStringList& arguments) const {
        return StartOn(name_, program, arguments)->Output();
    }
    bool Xrandr(const QStringList& arguments) const { return StartOn(name_, "xrandr", arguments)->EndsCleanly(20000); }

    TempFolder folder_;  // the server's configuration and errors
    QProcess server_;
    QString name_;
    std::vector<std::unique_ptr<ChildProcess>> windows_;
};

}  // namespace testsupport
