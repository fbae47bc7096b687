#include "platform/ui/Cursor.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <vector>

namespace {

void SetCount(int count) {
    while (platform::CursorDisplayCount() < count) platform::ShowCursor(true);
    while (platform::CursorDisplayCount() > count) platform::ShowCursor(false);
}

bool PointerBlank() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::BlankCursor;
}

TEST(CursorTest, PointerIsBlankWhileTheCountIsNegative) {
    struct Case {
        const char* name;
        std::vector<bool> calls;  // true: show, false: hide
        int count;
        bool blank;
    };
    const Case cases[] = {
        {"one hide", {false}, -1, true},
        {"hide then show", {false, true}, 0, false},
        {"two hides, one show", {false, false, true}, -1, true},
        {"show then hide", {true, false}, 0, false},
        {"show then two hides", {true, false, false}, -1, true},
        {"two hides, two shows", {false, false, true, true}, 0, false},
    };
    const int before = platform::CursorDisplayCount();  // other tests leave it where they like
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetCount(0);
        ASSERT_FALSE(PointerBlank());
        for (const bool show : c.calls) platform::ShowCursor(show);
        EXPECT_EQ(platform::CursorDisplayCount(), c.count);
        EXPECT_EQ(PointerBlank(), c.blank);
        SetCount(0);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // no override left stacked
    }
    SetCount(before);
}

}  // namespace
