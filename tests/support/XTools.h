#pragma once
// An Xvfb screen of 1280 x 720 for the length of a test, and what a person
// does and sees on it, through xdotool and ImageMagick's import.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <vector>

#include "support/ProgramRun.h"

namespace testsupport {

class VirtualDisplay {
public:
    struct Window {
        qulonglong id = 0;  // 0: none came
        QPoint origin;      // its top-left corner on the screen
    };
    VirtualDisplay();
    ~VirtualDisplay();
    QString name() const { return name_; }  // ":N"
    // Runs xdotool with these arguments ({"key", "Escape"}) and gives what it printed.
    QString Xdotool(const QStringList& arguments) const { return QString::fromUtf8(Tool("xdotool", arguments)); }
    // The mapped window whose title is exactly title, waited for up to 20 seconds.
    Window WaitForWindow(const QString& title) const;
    // A window of another program, 400 x 300 at (100, 100), closed with the display.
    Window OpenWindow(const QString& title);
    // No --sync: xdotool would wait 15 seconds for a move to where the pointer
    // already is; the click comes after the move all the same.
    void Click(QPoint at) const {
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    }
    QImage Screen() const { return QImage::fromData(Tool("import", {"-silent", "-window", "root", "png:-"})); }
    // Whether the screen shows the colour at a place, each channel within tolerance, within timeoutMs.
    bool Shows(QPoint at, const QColor& colour, int tolerance = 40, int timeoutMs = 15000) const;
    static bool Near(const QColor& seen, const QColor& colour, int tolerance = 40);

private:
    QByteArray Tool(const QString& program, const QStringList& arguments) const;

    QProcess xvfb_;
    QString name_;
    std::vector<std::unique_ptr<ChildProcess>> windows_;
};

}  // namespace testsupport
