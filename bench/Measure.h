#pragma once
// What the benchmarks read off the running program: one pixel of the screen
// straight from the X server (in DISPLAY), a process's processor time, and
// the median of what was measured.

#include <QColor>
#include <QFile>
#include <algorithm>
#include <vector>
#include <stdexcept>
#include <unistd.h>

// Last: Xlib's macros (Bool, None, Status) clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

class PixelProbe {
public:
    PixelProbe() : display_(XOpenDisplay(nullptr)) {
        if (!display_) throw std::runtime_error("no display");
    }
    ~PixelProbe() { XCloseDisplay(display_); }
    PixelProbe(const PixelProbe&) = delete;
    PixelProbe& operator=(const PixelProbe&) = delete;
    // Invalid when the server gives no picture.
    QColor At(int x, int y) const {
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return {};
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return QColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
    }

private:
    Display* display_;
};

// User and system time of a running process, in seconds.
inline double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    // utime and stime are the 14th and 15th fields, after a name without spaces.
    return (fields.value(13).toDouble() + fields.value(14).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
