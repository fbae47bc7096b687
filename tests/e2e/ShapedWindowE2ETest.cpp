// A window shaped by a region made from a picture, on a real X server: only
// the oval drawn in the picture shows of the window and takes the mouse;
// elsewhere in its rectangle the window below shows and is clicked.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>

#include "graphics/cDIBSection.h"
#include "graphics/cDIBSectionRegion.h"
#include "platform/gdi/Picture.h"
#include "support/XTools.h"

using namespace graphics;

using namespace testsupport;

namespace {

// A frameless window of one colour that keeps where on the screen it was last pressed.
class PressedWindow : public QWidget {
public:
    PressedWindow(QRect area, Qt::GlobalColor colour, Qt::WindowFlags flags = {})
        : QWidget(nullptr, Qt::FramelessWindowHint | flags) {
        setGeometry(area);
        setPalette(QPalette(colour, colour));
        setAutoFillBackground(true);
    }
    std::optional<QPoint> pressedAt;

protected:
    void mousePressEvent(QMouseEvent* event) override { pressedAt = event->globalPosition().toPoint(); }
};

// Runs the event loop, asleep between its events, until done() or 10 seconds.
bool WaitFor(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class ShapedWindowE2E : public ::testing::Test {
protected:
    // The application connects to its display once; it ends before the
    // display does, which would break its connection.
    static void SetUpTestSuite() {
        display_ = new VirtualDisplay;
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display_->name().toLocal8Bit());
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() { delete application_, delete display_; }

    static inline VirtualDisplay* display_ = nullptr;
    static inline QApplication* application_ = nullptr;
};

TEST_F(ShapedWindowE2E, OnlyTheShapeShowsAndTakesClicks) {
    const QRect area(200, 150, 320, 200);  // the top window's; the oval fills it
    PressedWindow bottom({0, 0, 1280, 720}, Qt::blue);
    PressedWindow top(area, Qt::red, Qt::WindowStaysOnTopHint);
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(picture.rect());
        painter.setBrush(Qt::black);  // a hole off the middle: a shape turned over would not match
        painter.drawRect(100, 30, 40, 30);
    }
    cDIBSection dib;
    dib.CreateFromPicture(platform::gdi::StdPicture(picture));
    cDIBSectionRegion region;
    region.Create(dib, 0);
    const unsigned long hWnd = top.winId();
    region.SetApplied(hWnd, true);
    bottom.show();
    // X puts a new window above the others, and winId() made this one first;
    // there is no window manager to stack them.
    top.show();
    top.raise();

    struct Case {
        QPoint at;
        PressedWindow* pressed;
        QColor shows;
    };
    const QPoint centre(360, 250), insideLeftEdge(208, 250), topLeft(205, 155), bottomRight(514, 344);
    const QPoint hole(320, 195), belowHole(320, 305);
    const auto check = [&](const char* phase, std::initializer_list<Case> cases) {
        // The screen first: it also tells that the windows are drawn and shaped.
        const auto seen = [&] {
            const QImage screen = display_->Screen();
            return std::all_of(cases.begin(), cases.end(),
                               [&](const Case& c) { return VirtualDisplay::Near(screen.pixelColor(c.at), c.shows); });
        };
        EXPECT_TRUE(WaitFor(seen)) << phase;
        const QImage screen = display_->Screen();
        for (const Case& c : cases) {
            EXPECT_TRUE(VirtualDisplay::Near(screen.pixelColor(c.at), c.shows))
                << phase << " at " << c.at.x() << ',' << c.at.y() << ": " << qPrintable(screen.pixelColor(c.at).name());
            top.pressedAt.reset(), bottom.pressedAt.reset();
            display_->Click(c.at);
            EXPECT_TRUE(WaitFor([&] { return top.pressedAt || bottom.pressedAt; })) << phase;
            const PressedWindow* other = c.pressed == &top ? &bottom : &top;
            EXPECT_TRUE(c.pressed->pressedAt == c.at && !other->pressedAt)
                << phase << ": a click at " << c.at.x() << ',' << c.at.y() << " reached the "
                << (top.pressedAt ? "top" : bottom.pressedAt ? "bottom" : "no") << " window";
        }
    };
    check("shaped", {{centre, &top, Qt::red},
                     {insideLeftEdge, &top, Qt::red},
                     {hole, &bottom, Qt::blue},
                     {belowHole, &top, Qt::red},
                     {topLeft, &bottom, Qt::blue},
                     {bottomRight, &bottom, Qt::blue}});
    region.SetApplied(hWnd, false);
    check("unshaped", {{topLeft, &top, Qt::red}, {hole, &top, Qt::red}});
}

}  // namespace
