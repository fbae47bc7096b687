#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr float kTwipsPerInch = 1440.0f;
constexpr float kDefaultDpi = 96.0f;  // no screen (no GUI application yet)

QScreen* PrimaryScreen() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr; }

float PerPixel(qreal dpi) { return kTwipsPerInch / static_cast<float>(dpi > 0 ? dpi : kDefaultDpi); }

QSize hostScreen;  // empty: the primary screen

// Where a window keeps a ratio of its own.
constexpr char kOwnRatio[] = "zorTwipsPerPixel";

float OwnRatio(const QWidget& control) {
    const QWidget* window = control.window();
    return window ? window->property(kOwnRatio).toFloat() : 0.0f;  // none: 0
}

int ToPixels(float twips, float perPixel) { return static_cast<int>(std::lround(std::max(twips, 0.0f) / perPixel)); }

}  // namespace

float TwipsPerPixelX() {
    const QScreen* screen = PrimaryScreen();
    return PerPixel(screen ? screen->logicalDotsPerInchX() : kDefaultDpi);
}

float TwipsPerPixelY() {
    const QScreen* screen = PrimaryScreen();
    return PerPixel(screen ? screen->logicalDotsPerInchY() : kDefaultDpi);
}

void SetWindowTwipsPerPixel(QWidget& window, float twipsPerPixel) {
    window.setProperty(kOwnRatio, twipsPerPixel > 0 ? QVariant(twipsPerPixel) : QVariant());
}

float TwipsPerPixelX(const QWidget& control) {
    const float own = OwnRatio(control);
    return own > 0 ? own : TwipsPerPixelX();
}

float TwipsPerPixelY(const QWidget& control) {
    const float own = OwnRatio(control);
    return own > 0 ? own : TwipsPerPixelY();
}

void UseWindowAsScreen(int width, int height) { hostScreen = QSize(width, height); }

float ScreenWidth() {
    if (!hostScreen.isEmpty()) return static_cast<float>(hostScreen.width()) * TwipsPerPixelX();
    const QScreen* screen = PrimaryScreen();
    return screen ? static_cast<float>(screen->geometry().width()) * TwipsPerPixelX() : 0.0f;
}

float ScreenHeight() {
    if (!hostScreen.isEmpty()) return static_cast<float>(hostScreen.height()) * TwipsPerPixelY();
    const QScreen* screen = PrimaryScreen();
    return screen ? static_cast<float>(screen->geometry().height()) * TwipsPerPixelY() : 0.0f;
}

TwipsRect Geometry(const QWidget& control) {
    const QRect r = control.geometry();
    const float x = TwipsPerPixelX(control), y = TwipsPerPixelY(control);
    return {static_cast<float>(r.x()) * x, static_cast<float>(r.y()) * y, static_cast<float>(r.width()) * x,
            static_cast<float>(r.height()) * y};
}

void SetGeometry(QWidget& control, const TwipsRect& rect) {
    const float x = TwipsPerPixelX(control), y = TwipsPerPixelY(control);
    control.setGeometry(static_cast<int>(std::lround(rect.Left / x)), static_cast<int>(std::lround(rect.Top / y)),
                        ToPixels(rect.Width, x), ToPixels(rect.Height, y));
}

float ScaleWidth(const QWidget& container) { return static_cast<float>(container.width()) * TwipsPerPixelX(container); }

float ScaleHeight(const QWidget& container) { return static_cast<float>(container.height()) * TwipsPerPixelY(container); }

}  // namespace platform
