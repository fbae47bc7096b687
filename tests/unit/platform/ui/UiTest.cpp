// The pointer's display count, windows shown modally, and twips.

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/ui/Cursor.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/Twips.h"

namespace {

void SetCount(int count) {
    while (platform::CursorDisplayCount() < count) platform::ShowCursor(true);
    while (platform::CursorDisplayCount() > count) platform::ShowCursor(false);
}

// The pointer is blank exactly while the display count is below zero, and
// once it is back at zero no override cursor is left stacked.
TEST(CursorTest, PointerIsBlankWhileTheCountIsNegative) {
    const struct { std::vector<bool> calls; int count; } rows[] = {  // calls: true shows, false hides
        {{false}, -1}, {{false, false, true}, -1}, {{true, false}, 0}, {{false, false, true, true}, 0}};
    const int before = platform::CursorDisplayCount();  // other tests leave it where they like
    for (const auto& row : rows) {
        SetCount(0);
        for (const bool show : row.calls) platform::ShowCursor(show);
        EXPECT_EQ(platform::CursorDisplayCount(), row.count);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        EXPECT_EQ(cursor ? cursor->shape() : Qt::ArrowCursor, row.count < 0 ? Qt::BlankCursor : Qt::ArrowCursor);
        SetCount(0);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    SetCount(before);
}

// Events go on being handled while the caller waits, and the wait ends when
// the window is hidden, closed or destroyed.
TEST(ModalShowTest, ReturnsWhenTheWindowGoes) {
    const std::function<void(QWidget*&)> ends[] = {
        [](QWidget*& w) { w->hide(); },
        [](QWidget*& w) { w->close(); },
        [](QWidget*& w) { delete std::exchange(w, nullptr); },
    };
    for (const auto& end : ends) {
        auto* window = new QWidget;
        bool ended = false;
        QTimer::singleShot(20, [&] {
            end(window);
            ended = true;
        });
        platform::ShowModal(*window);
        EXPECT_TRUE(ended);
        EXPECT_FALSE(window && window->isVisible());
        delete window;
    }
}

TEST(ModalShowTest, WindowHiddenWhileShowingDoesNotWait) {
    struct HidesOnShow : QWidget {
        void showEvent(QShowEvent*) override { QTimer::singleShot(0, this, &QWidget::hide); }
    } window;
    platform::ShowModal(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
}

// The off-screen display has 96 DPI: 15 twips a pixel.
TEST(TwipsTest, FifteenTwipsAPixelAt96Dpi) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(screen->logicalDotsPerInchX(), 96);
    ASSERT_EQ(screen->logicalDotsPerInchY(), 96);
    EXPECT_EQ(platform::TwipsPerPixelX(), 15.0f);
    EXPECT_EQ(platform::TwipsPerPixelY(), 15.0f);
    EXPECT_EQ(platform::ScreenWidth(), 15.0f * screen->geometry().width());
    EXPECT_EQ(platform::ScreenHeight(), 15.0f * screen->geometry().height());

    QWidget parent;
    QWidget control(&parent);
    platform::SetGeometry(control, {20, 25, 1822, 503});  // to the nearest pixel
    EXPECT_EQ(control.geometry(), QRect(1, 2, 121, 34));
    const platform::TwipsRect back = platform::Geometry(control);
    EXPECT_EQ(QRectF(back.Left, back.Top, back.Width, back.Height), QRectF(15, 30, 1815, 510));
    platform::SetGeometry(control, {-150, -30, -500, -1});  // no size below zero
    EXPECT_EQ(control.geometry(), QRect(-10, -2, 0, 0));
    parent.resize(200, 100);
    EXPECT_EQ(platform::ScaleWidth(parent), 3000.0f);
    EXPECT_EQ(platform::ScaleHeight(parent), 1500.0f);
}

}  // namespace
