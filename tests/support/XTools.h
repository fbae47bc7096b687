#pragma once
// What a user does and sees on a virtual display, through xdotool and
// ImageMagick's import.

#include <QColor>
#include <QPoint>
#include <QProcessEnvironment>
#include <QString>

namespace testsupport {

class XTools {
public:
    explicit XTools(const QString& display);

    // The id of the mapped window whose title is exactly title, or 0 after
    // timeoutMs.
    qulonglong WaitForWindow(const QString& title, int timeoutMs = 20000) const;
    // The window's top-left corner on the screen.
    QPoint Origin(qulonglong window) const;
    void Click(QPoint at) const;
    void MoveMouse(QPoint to) const;
    // Presses and releases a key, named as xdotool names it ("Escape", "a").
    void Key(const QString& name) const;
    void KeyDown(const QString& name) const;
    void KeyUp(const QString& name) const;
    // The colour of one screen pixel, from a screenshot of the whole screen.
    QColor ScreenPixel(QPoint at) const;
    // Takes screenshots until the pixel has the colour (each channel within
    // tolerance) or timeoutMs has passed; gives the colour last seen.
    QColor WaitForPixel(QPoint at, QColor expected, int tolerance, int timeoutMs = 20000) const;

private:
    QString Run(const QString& program, const QStringList& arguments) const;

    QProcessEnvironment environment_;
};

}  // namespace testsupport
