#include "show/ScreenCovers.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/ui/BlackBackground.h"
#include "platform/ui/WindowCaption.h"
#include "show/FormInstances.h"
#include "show/frmCover.h"

namespace show {

namespace {

// While a web page is shown there is no show window; the page takes its own
// input, and the other screens stay black and still.
class SideCover : public QWidget {
public:
    explicit SideCover(QScreen* screen) {
        setWindowFlag(Qt::FramelessWindowHint);
        setAttribute(Qt::WA_ShowWithoutActivating);
        platform::FillBlack(*this);
        setMouseTracking(true);
        setScreen(screen);
        setGeometry(screen->geometry());
        setWindowState(Qt::WindowFullScreen);
        show();
        platform::KeepCaptionEmpty(*this);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { Pass(event); }
    void keyReleaseEvent(QKeyEvent* event) override { Pass(event); }
    void mouseMoveEvent(QMouseEvent* event) override { PassMouse(event); }
    void mousePressEvent(QMouseEvent* event) override { PassMouse(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { PassMouse(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { PassMouse(event); }

private:
    static void Pass(QEvent* event) {
        if (CoverLoaded()) QCoreApplication::sendEvent(&TheCover(), event);
    }
    // Positions as the show window would see them, so its movement test
    // compares like with like.
    static void PassMouse(QMouseEvent* event) {
        if (!CoverLoaded()) return;
        frmCover& cover = TheCover();
        QMouseEvent moved(event->type(), cover.mapFromGlobal(event->globalPosition()), event->globalPosition(),
                          event->button(), event->buttons(), event->modifiers());
        QCoreApplication::sendEvent(&cover, &moved);
    }
};

class Covers : public QObject {
public:
    Covers() {
        auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        if (!application) return;
        connect(application, &QGuiApplication::screenAdded, this, [this] { Update(); });
        connect(application, &QGuiApplication::screenRemoved, this, [this](QScreen* gone) {
            covers_.erase(gone);
            Update();
        });
        connect(application, &QGuiApplication::primaryScreenChanged, this, [this] { Update(); });
        Update();
    }

private:
    void Update() {
        const QScreen* primary = QGuiApplication::primaryScreen();
        covers_.erase(primary);
        for (QScreen* screen : QGuiApplication::screens())
            if (screen != primary && !covers_.count(screen)) covers_[screen] = std::make_unique<SideCover>(screen);
    }

    std::map<const QScreen*, std::unique_ptr<SideCover>> covers_;
};

}  // namespace

void CoverOtherScreens() {
    static Covers covers;
}

}  // namespace show
