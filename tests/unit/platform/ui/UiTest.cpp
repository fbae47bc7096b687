#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/ui/Cursor.h"
#include "platform/ui/LabelControl.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"

namespace {

void SetCount(int count) {
    while (platform::CursorDisplayCount() < count) platform::ShowCursor(true);
    while (platform::CursorDisplayCount() > count) platform::ShowCursor(false);
}

// The pointer is blank exactly while the display count is below zero, and
// once it is back at zero no override cursor is left stacked.
TEST(CursorTest, PointerIsBlankWhileTheCountIsNegative) {
    const int before = platform::CursorDisplayCount();  // other tests leave it where they like
    SetCount(0);
    const std::pair<bool, int> calls[] = {{false, -1}, {false, -2}, {true, -1}, {true, 0}, {true, 1}, {false, 0}};
    for (const auto& [show, count] : calls) {
        EXPECT_EQ(platform::ShowCursor(show), count);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        EXPECT_EQ(cursor ? int(cursor->shape()) : -1, count < 0 ? int(Qt::BlankCursor) : -1) << count;
    }
    SetCount(before);
}

// The off-screen display has 96 DPI: 15 twips a pixel.
TEST(TwipsTest, FifteenTwipsAPixelAt96Dpi) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(QSizeF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()), QSizeF(96, 96));
    EXPECT_EQ(QSizeF(platform::ScreenWidth(), platform::ScreenHeight()), QSizeF(screen->geometry().size()) * 15);
    QWidget parent;
    QWidget control(&parent);
    platform::SetGeometry(control, {20, 25, 1822, 503});  // to the nearest pixel
    EXPECT_EQ(control.geometry(), QRect(1, 2, 121, 34));
    const platform::TwipsRect back = platform::Geometry(control);
    EXPECT_EQ(QRectF(back.Left, back.Top, back.Width, back.Height), QRectF(15, 30, 1815, 510));
}

// A label's Click is a release of the left button over it; MouseUp is every release.
TEST(LabelControlTest, ClickIsTheLeftButtonReleasedOverIt) {
    platform::LabelControl label(nullptr);
    label.resize(40, 20);
    int clicks = 0;
    QList<int> ups;  // the buttons
    label.Click = [&] { ++clicks; };
    label.MouseUp = [&](int button, int, float, float) { ups << button; };
    const std::tuple<Qt::MouseButton, QPointF, int> releases[] = {
        {Qt::LeftButton, {5, 5}, 1}, {Qt::RightButton, {5, 5}, 0}, {Qt::LeftButton, {50, 5}, 0}};
    for (const auto& [button, at, clicked] : releases) {
        clicks = 0;
        QMouseEvent release(QEvent::MouseButtonRelease, at, label.mapToGlobal(at), button, Qt::NoButton, {});
        QCoreApplication::sendEvent(&label, &release);
        EXPECT_EQ(clicks, clicked) << button << " at " << at.x();
    }
    EXPECT_EQ(ups, QList<int>({1, 2, 1}));
}

// A modal window holds its caller until it is closed, not while it is minimised.
TEST(ModalShowTest, HoldsUntilClosedNotWhileMinimised) {
    QWidget window;
    bool closedByTimer = false;
    QTimer::singleShot(0, &window, [&] {
        window.showMinimized();
        QTimer::singleShot(50, &window, [&] { closedByTimer = window.close(); });
    });
    platform::ShowModal(window);
    EXPECT_TRUE(closedByTimer);
}

TEST(VbInputTest, KeyCodes) {
    const std::pair<int, int> keys[] = {  // just past a range of codes, a key has none
        {Qt::Key_A, 65}, {Qt::Key_Z, 90}, {Qt::Key_BracketLeft, 0}, {Qt::Key_0, 48}, {Qt::Key_9, 57}, {Qt::Key_Colon, 0},
        {Qt::Key_F24, 135}, {Qt::Key_F25, 0}, {Qt::Key_Escape, 27}, {Qt::Key_Enter, 13}, {Qt::Key_Left, 37},
    };
    for (const auto& [key, code] : keys)
        EXPECT_EQ(platform::VbKeyCode(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier)), code) << std::hex << key;
}

}  // namespace
