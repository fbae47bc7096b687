#include "platform/ui/Twips.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

TEST(TwipsTest, ConvertsThroughTheScreensDpi) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const float x = platform::TwipsPerPixelX(), y = platform::TwipsPerPixelY();
    EXPECT_FLOAT_EQ(x, 1440.0f / static_cast<float>(screen->logicalDotsPerInchX()));
    EXPECT_FLOAT_EQ(platform::ScreenWidth(), screen->geometry().width() * x);
    EXPECT_FLOAT_EQ(platform::ScreenHeight(), screen->geometry().height() * y);

    struct Case {
        platform::TwipsRect set;
        QRect pixels;
    };
    const Case cases[] = {
        {{0, 0, 12450, 660}, QRect(0, 0, qRound(12450 / x), qRound(660 / y))},
        {{45, 1650, 1815, 495}, QRect(qRound(45 / x), qRound(1650 / y), qRound(1815 / x), qRound(495 / y))},
        {{-150, 30, -500, -1}, QRect(qRound(-150 / x), qRound(30 / y), 0, 0)},  // no size below zero
    };
    QWidget parent;
    QWidget control(&parent);
    for (const Case& c : cases) {
        platform::SetGeometry(control, c.set);
        EXPECT_EQ(control.geometry(), c.pixels);
        const platform::TwipsRect back = platform::Geometry(control);
        EXPECT_FLOAT_EQ(back.Left, c.pixels.x() * x);
        EXPECT_FLOAT_EQ(back.Height, c.pixels.height() * y);
    }
    parent.resize(200, 100);
    EXPECT_FLOAT_EQ(platform::ScaleWidth(parent), 200 * x);
    EXPECT_FLOAT_EQ(platform::ScaleHeight(parent), 100 * y);
}

}  // namespace
