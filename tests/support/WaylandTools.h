#pragma once
// A headless sway for the length of a test: an output of 1280 x 720 at
// 0,0 and a second of 800 x 600 at 1280,0, drawn in software,
// in a run-time folder of its own. Run as root, sway and every
// client and tool on it run as nobody (sway refuses root); what a person
// does and sees there goes through wtype, grim and a pointer made with
// wlroots' virtual-pointer protocol (the seat has none).

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QProcessEnvironment>
#include <QStringList>
#include <map>
#include <memory>

#include "support/TestSupport.h"
#include "support/XTools.h"

namespace testsupport {

class WaylandDisplay {
public:
    WaylandDisplay();
    // Why sway is not running (not installed, ended at once); empty while it runs.
    QString problem() const { return problem_; }
    // The environment of a client of it: its XDG_RUNTIME_DIR and WAYLAND_DISPLAY, no X display.
    QProcessEnvironment Environment() const;
    // Starts program as the display's user (root hands it to nobody), in
    // folder, with these variables set besides.
    std::unique_ptr<ChildProcess> Start(const QString& program, const QStringList& arguments, const QString& folder,
                                        const std::map<QString, QString>& settings = {}) const;
    // Whether the output shows the colour at a place within timeoutMs (see VirtualDisplay::Near).
    bool Shows(QPoint at, const QColor& colour, int timeoutMs = 15000) const;
    // Types text as key presses to the window that has the keyboard.
    void Type(const QString& text) const;
    // Clicks a pointer button (a Linux input code, 0x111 the right one) at a
    // point of the outputs; throws when the compositor has no virtual pointer.
    void Click(QPoint at, unsigned button) const;
    // Where sway shows the window of that title; empty while it shows none.
    QRect Shown(const QString& title) const;
    // Runs swaymsg with these arguments ({"create_output"} plugs in an output
    // of 1920 x 1080) and gives what it printed.
    QByteArray Sway(const QStringList& arguments) const;

private:
    QByteArray Tool(const QString& program, const QStringList& arguments) const {
        return Start(program, arguments, runtime_.path())->Output();
    }

    TempFolder runtime_;
    QString socket_;
    std::unique_ptr<ChildProcess> sway_;  // ends with the object
    QString problem_;
};

}  // namespace testsupport
