// The pointer's display count, modal windows, twips, key codes, foreign windows, another running copy.

#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

#include "platform/system/ProgramInfo.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ForeignWindow.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/PrevInstance.h"
#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"
#include "support/TestSupport.h"

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

// Events go on being handled while the caller waits, and the wait ends when
// the window is hidden or destroyed.
TEST(ModalShowTest, ReturnsWhenTheWindowGoes) {
    for (const bool destroy : {false, true}) {
        auto* window = new QWidget;
        QTimer::singleShot(20, [&] { destroy ? delete std::exchange(window, nullptr) : window->hide(); });
        platform::ShowModal(*window);
        EXPECT_EQ(window == nullptr, destroy);
        EXPECT_TRUE(!window || (!window->isVisible() && window->windowModality() == Qt::ApplicationModal));
        delete window;
    }
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
    parent.resize(200, 100);
    EXPECT_EQ(QSizeF(platform::ScaleWidth(parent), platform::ScaleHeight(parent)), QSizeF(3000, 1500));
}

TEST(VbInputTest, KeyCodes) {
    const std::pair<int, int> keys[] = {  // just past a range of codes, a key has none
        {Qt::Key_A, 65}, {Qt::Key_Z, 90}, {Qt::Key_BracketLeft, 0}, {Qt::Key_9, 57}, {Qt::Key_Colon, 0},
        {Qt::Key_F24, 135}, {Qt::Key_F25, 0}, {Qt::Key_Escape, 27}, {Qt::Key_Enter, 13}, {Qt::Key_Left, 37},
    };
    for (const auto& [key, code] : keys)
        EXPECT_EQ(platform::VbKeyCode(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier)), code) << std::hex << key;
}

// An id that names no window, as when the preview area is gone: no size, no
// parent, and no crash whether or not there is a display to ask.
TEST(ForeignWindowTest, IdThatNamesNoWindow) {
    for (const unsigned long id : {0ul, 0x7FFFFFF0ul}) {
        const platform::ClientRect r = platform::GetClientRect(id);
        EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0);
        QWidget window;
        EXPECT_FALSE(platform::ParentIntoForeignWindow(window, id, 10, 10));
        EXPECT_FALSE(window.isVisible());
    }
}

// The answer is decided once a process, so each check runs in a fresh one. That process repeats the test up
// to its check, so it holds the lock taken below itself, under another descriptor, as a running copy would.
TEST(PrevInstanceDeathTest, SeesACopyHoldingTheLockFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const testsupport::TempFolder folder;
    const auto check = [&](const QString& runtimeFolder) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder));
        const bool another = platform::PrevInstance();
        QDir(folder.path()).removeRecursively();  // the process ends without destructors
        std::_Exit(another);
    };
    EXPECT_EXIT(check(folder.path()), testing::ExitedWithCode(0), "");
    const QString lock = folder.file(platform::ExecutableName() + '-' + QString::number(::getuid()) + ".lock");
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(fd, LOCK_SH), 0);
    EXPECT_EXIT(check(folder.path()), testing::ExitedWithCode(1), "");
    ::close(fd);
    EXPECT_EXIT(check(folder.file("none")), testing::ExitedWithCode(0), "");  // no lock file: as the only copy
}

}  // namespace
