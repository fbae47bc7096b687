#pragma once
// An X server with monitors that come and go: Xorg's dummy driver, whose
// RandR outputs (DUMMY0, DUMMY1, ...) are turned on at a size and place
// with xrandr and off again, as monitors plugged in and out. Qt sees each
// as a screen. Xvfb cannot do this: its Xinerama heads all sit at 0,0. The
// server runs for the object's lifetime (started and ended by its pid),
// with its configuration and log in a folder of its own; DUMMY0 is the
// primary monitor.

#include <QProcess>
#include <QRect>
#include <QString>

#include "support/TestSupport.h"

namespace testsupport {

class DummyMonitors {
public:
    // A screen room of width x height pixels for the monitors to lie in.
    DummyMonitors(int width, int height);
    ~DummyMonitors();
    QString name() const { return name_; }  // ":N"
    // Output number (0 the primary) shows as a monitor at place; whether xrandr did it.
    bool Plug(int output, const QRect& place) const;
    bool Unplug(int output) const;

private:
    bool Xrandr(const QStringList& arguments) const;

    TempFolder folder_;
    QProcess xorg_;
    QString name_;
};

}  // namespace testsupport
