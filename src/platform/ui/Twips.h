#pragma once
// Window and control positions in twips (1/1440 inch), the unit the forms
// are laid out in, converted to pixels: the screen's (1440 / its logical
// DPI), or a ratio of the window's own. Pixels are Qt's device-independent
// ones; a scaled screen (QT_SCALE_FACTOR) draws each as several.

class QWidget;

namespace platform {

// 1440 / the primary screen's logical DPI: 15 at 96 DPI.
float TwipsPerPixelX();
float TwipsPerPixelY();
// The primary screen's size in twips (VB's Screen.Width and Screen.Height),
// or the host window's for a show drawn into another program's window.
float ScreenWidth();
float ScreenHeight();
// The show's screen is a host window of this size in pixels from now on;
// 0 x 0 makes it the primary screen again.
void UseWindowAsScreen(int width, int height);

// A window laid out over a bitmap keeps its controls on the bitmap's
// pixels: it and its controls convert at twipsPerPixel whatever the screen's
// DPI. 0 gives it the screen's ratio again.
void SetWindowTwipsPerPixel(QWidget& window, float twipsPerPixel);
// The ratio a control (or window) converts at: its window's own, else the screen's.
float TwipsPerPixelX(const QWidget& control);
float TwipsPerPixelY(const QWidget& control);

// A control's place in its container in twips (VB's Left, Top, Width, Height).
struct TwipsRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

TwipsRect Geometry(const QWidget& control);
// A size below zero is taken as zero.
void SetGeometry(QWidget& control, const TwipsRect& rect);
// The inner size of a window or container (VB's ScaleWidth and ScaleHeight).
float ScaleWidth(const QWidget& container);
float ScaleHeight(const QWidget& container);

}  // namespace platform
