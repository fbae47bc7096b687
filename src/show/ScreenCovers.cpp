#include "show/ScreenCovers.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <map>
#include <memory>

#include "config/LogError.h"
#include "platform/vb/VbError.h"
#include "show/FormInstances.h"
#include "show/MirrorCover.h"
#include "show/RunShow.h"
#include "show/SideCover.h"
#include "show/SideShow.h"
#include "show/frmCover.h"
#include "state/RunState.h"
#include "state/ShowOptions.h"

using state::ShowOptions;

namespace show {

namespace {

// The monitors but the primary one, left to right, then top to bottom.
std::vector<QScreen*> SideScreens() {
    std::vector<QScreen*> sides;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) sides.push_back(screen);
    std::sort(sides.begin(), sides.end(), [](const QScreen* a, const QScreen* b) {
        const QPoint pa = a->geometry().topLeft(), pb = b->geometry().topLeft();
        return std::pair(pa.x(), pa.y()) < std::pair(pb.x(), pb.y());
    });
    return sides;
}

// The remote control appears on the monitor of the right click that shows
// it, at the place it has on its own; it is made then, as the click would
// make it anyway.
void BringControlTo(const QPointF& clicked) {
    if (state::gNoRemote || !state::RunningShow()) return;
    QScreen* target = QGuiApplication::screenAt(clicked.toPoint());
    QWidget* control = TheControl();
    if (!target || !control) return;
    const QScreen* now = QGuiApplication::screenAt(control->geometry().center());
    if (!now) now = QGuiApplication::primaryScreen();
    if (now != target) control->move(control->pos() - now->geometry().topLeft() + target->geometry().topLeft());
}

// A window whose right click may show the remote control.
bool OnShow(QWidget* window) {
    return dynamic_cast<SideCover*>(window) || (CoverLoaded() && window == &TheCover());
}

}  // namespace

int MonitorNumber(const QScreen* screen) {
    const std::vector<QScreen*> sides = SideScreens();
    const auto at = std::find(sides.begin(), sides.end(), screen);
    return at == sides.end() ? 0 : static_cast<int>(at - sides.begin()) + 1;
}

namespace {

class Covers : public QObject {
public:
    static inline Covers* made = nullptr;

    Covers() {
        made = this;
        auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        if (!application) return;
        connect(application, &QGuiApplication::screenAdded, this, [this] { Update(); });
        connect(application, &QGuiApplication::screenRemoved, this, [this](QScreen* gone) {
            covers_.erase(gone);
            Update();
        });
        connect(application, &QGuiApplication::primaryScreenChanged, this, [this] { Update(); });
        application->installEventFilter(this);
        Update();
    }

    void FollowEntry(int position) {
        for (const auto& [screen, cover] : covers_) cover->PrimaryStarted(position);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // On the release, where the show's handler opens the remote: made at the
        // press, the remote's first load could put its mixer message under the
        // pointer, and that box would take the release.
        if (event->type() == QEvent::MouseButtonRelease && watched->isWidgetType() &&
            OnShow(static_cast<QWidget*>(watched)->window())) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton && mouse->spontaneous()) BringControlTo(mouse->globalPosition());
        }
        return false;
    }

private:
    void Update() {
        // The primary monitor changing its mode: the show follows it (on X11
        // without a window manager nobody else resizes its windows).
        disconnect(primaryChanged_);
        if (QScreen* primary = QGuiApplication::primaryScreen())
            primaryChanged_ = connect(primary, &QScreen::geometryChanged, this, [](const QRect& place) {
                vb::ResumeNext([&] { PlaceShowIn(place); });
            });
        covers_.erase(QGuiApplication::primaryScreen());
        for (QScreen* screen : SideScreens())
            if (!covers_.count(screen)) covers_[screen] = NewCover(screen, MonitorNumber(screen));
    }

    static std::unique_ptr<SideCover> NewCover(QScreen* screen, int offset) {
        switch (state::TheShowOptions().monitors) {
        case ShowOptions::Monitors::Each: {
            // A monitor whose player cannot be made stays black; the show goes on.
            std::unique_ptr<SideCover> side;
            vb::OnError([&] { side = std::make_unique<SideShow>(screen, offset); },
                        [](const vb::VbError& e) { config::LogError(QStringLiteral("Media player error: ") + e.description(), false); });
            if (side) return side;
            break;
        }
        case ShowOptions::Monitors::Mirror:
            return std::make_unique<MirrorCover>(screen);
        case ShowOptions::Monitors::Primary:
            break;
        }
        return std::make_unique<SideCover>(screen);
    }

    std::map<const QScreen*, std::unique_ptr<SideCover>> covers_;
    QMetaObject::Connection primaryChanged_;
};

}  // namespace

void CoverOtherScreens() {
    static Covers covers;
}

void CoversFollowEntry(int position) {
    if (Covers::made) Covers::made->FollowEntry(position);
}

}  // namespace show
