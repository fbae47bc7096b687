#include "show/SideShow.h"

#include <QScreen>
#include <algorithm>
#include <vector>

#include "config/Instances.h"
#include "config/LogError.h"
#include "config/MovieCollection.h"
#include "platform/ui/ImageControl.h"
#include "platform/vb/VbError.h"
#include "show/BatteryRule.h"
#include "show/Med_Saver.h"
#include "show/ShowRules.h"
#include "show/StillPicture.h"
#include "state/RunState.h"
#include "state/ShowOptions.h"

using namespace config;
using state::gCurrentIndex;
using state::ShowOptions;
using state::TheShowOptions;

namespace show {

namespace {

constexpr int kFailedPauseMs = 1000;  // after a clip or picture that cannot be shown

std::vector<SideShow*> sideShows;

bool Covers(const Movie& entry) { return TheShowOptions().fill && entry.PlayFullScreen(); }

}  // namespace

SideShow::SideShow(QScreen* screen, int offset) : SideCover(screen), offset_(offset) {
    player_ = new Med_Saver(this);
    still_ = new platform::ImageControl(this);
    // Their input is the window's, which passes it on to the show.
    player_->setAttribute(Qt::WA_TransparentForMouseEvents);
    still_->setAttribute(Qt::WA_TransparentForMouseEvents);
    player_->hide();
    still_->hide();
    still_->LetStretch(true);
    player_->LetMute(true);
    player_->EndOfStream = [this](qint32 result) { next_.start(result == 0 ? 0 : kFailedPauseMs); };
    player_->Opened = [this] {
        if (playing_) player_->Play();
    };
    player_->Error = [this] { LogError(QStringLiteral("Media player error: ") + player_->ErrorDescription(), false); };
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, [this] { Step(); });
    sideShows.push_back(this);
    // The primary show takes its first entry before its loop handles events.
    QTimer::singleShot(0, this, [this] { Begin(); });
}

SideShow::~SideShow() { std::erase(sideShows, this); }

void SideShow::PrimaryStarted(int position) {
    if (position_ == position) next_.start(0);
}

void SideShow::Begin() {
    const int count = gMovies().Count();
    if (count == 0) return;
    const int first = PositionAfter(gCurrentIndex, offset_, count);
    if (TheShowOptions().shuffle) shuffled_.emplace(count, first);
    Show(Choose(first));
}

void SideShow::Step() {
    if (position_ == 0) return;
    Show(Choose(Following(position_)));
}

int SideShow::Following(int position) {
    if (!shuffled_) return PositionAfter(position, 1, gMovies().Count());
    shuffled_->Take();
    return shuffled_->Current();
}

// From candidate on in the order: the first entry no other monitor shows,
// else the first that is not a page; 0 when all are pages.
int SideShow::Choose(int candidate) {
    const auto shownElsewhere = [this](int position) {
        if (position == gCurrentIndex) return true;
        return std::any_of(sideShows.begin(), sideShows.end(),
                           [&](const SideShow* side) { return side != this && side->position_ == position; });
    };
    int playable = 0;
    for (int tries = 0; tries < gMovies().Count(); ++tries, candidate = Following(candidate)) {
        if (gMovies().Item(candidate).IsHTML()) continue;
        if (!shownElsewhere(candidate)) return candidate;
        if (playable == 0) playable = candidate;
    }
    return playable;
}

void SideShow::Show(int position) {
    position_ = position;
    if (position == 0) return Blank();  // only pages: black, and nothing to step on to
    const ShowOptions::OnBattery battery = EntryOnBattery();
    Movie& entry = gMovies().Item(position);
    if (battery == ShowOptions::OnBattery::Black) {
        Blank();
    } else if (entry.IsStill() && !entry.IsTrueRM()) {
        ShowStill(position);
    } else {
        return ShowClip(position, battery == ShowOptions::OnBattery::Still);
    }
    next_.start(StillDelayMs());
}

void SideShow::ShowClip(int position, bool held) {
    Movie& entry = gMovies().Item(position);
    stillSize_ = {};
    still_->hide();
    still_->LoadPicture(QString());
    ConfigureClip(*player_, entry, 0, false);
    player_->LetMute(true);
    player_->LetDisplaySize(Covers(entry) ? Med_Saver::kCoverControl : Med_Saver::kFitToControl);
    Place();
    player_->show();
    playing_ = !held;  // once it is open
    if (held) next_.start(StillDelayMs());
    const int after = shuffled_ ? shuffled_->Next() : PositionAfter(position, 1, gMovies().Count());
    const Movie& next = gMovies().Item(after);
    if (PreparedAhead(next)) player_->Prepare(LocalFileName(next), next.LoopStart().ToDouble());
}

void SideShow::ShowStill(int position) {
    Movie& entry = gMovies().Item(position);
    playing_ = false;
    player_->Pause();
    player_->LetFileName(QString());
    player_->hide();
    const QString file = entry.Path() + entry.MovieName();
    bool loaded = true;
    vb::OnError([&] { still_->LoadPicture(file); },
                [&](const vb::VbError& e) {
                    LogError(QStringLiteral("Picture error: %1: %2").arg(file, e.description()), false);
                    loaded = false;
                });
    if (!loaded) return still_->hide();
    stillSize_ = entry.StillW() > 0 && entry.StillH() > 0 ? QSize(entry.StillW(), entry.StillH())
                                                          : still_->PictureSize();
    stillCovers_ = Covers(entry);
    Place();
    still_->show();
}

void SideShow::Place() {
    player_->setGeometry(rect());
    if (stillSize_.isEmpty()) return;
    const QSize picture = stillSize_.scaled(size(), stillCovers_ ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    still_->setGeometry(QRect(QPoint((width() - picture.width()) / 2, (height() - picture.height()) / 2), picture));
}

void SideShow::resizeEvent(QResizeEvent*) { Place(); }

void SideShow::Blank() {
    playing_ = false;
    player_->Pause();
    player_->LetFileName(QString());
    player_->hide();
    stillSize_ = {};
    still_->hide();
    still_->LoadPicture(QString());
}

}  // namespace show
