#include "platform/ui/ModalShow.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace {

TEST(ModalShowTest, ReturnsWhenTheWindowGoes) {
    struct Case {
        const char* name;
        std::function<void(QWidget*&)> end;
    };
    const Case cases[] = {
        {"hidden", [](QWidget*& w) { w->hide(); }},
        {"closed", [](QWidget*& w) { w->close(); }},
        {"destroyed", [](QWidget*& w) { delete std::exchange(w, nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* window = new QWidget;
        bool ranInside = false;
        // Events go on being handled while the caller waits.
        QTimer::singleShot(20, [&] {
            ranInside = true;
            c.end(window);
        });
        QElapsedTimer waited;
        waited.start();
        platform::ShowModal(*window);
        EXPECT_TRUE(ranInside);
        EXPECT_GE(waited.elapsed(), 15);
        if (window) EXPECT_FALSE(window->isVisible());
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

}  // namespace
