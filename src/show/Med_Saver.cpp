#include "show/Med_Saver.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/media/PlayerEngine.h"
#include "platform/ui/BlackBackground.h"
#include "platform/ui/Twips.h"
#include "platform/ui/VbInput.h"
#include "state/ShowOptions.h"

namespace show {

namespace {

using platform::media::PlayerEngine;

constexpr qint32 kSilent = -10000;       // hundredths of a dB
constexpr qint32 kDefaultVolume = -600;  // the control's volume before anyone sets it
constexpr qint32 kBalanceLimit = 10000;
// The engine's speed range; a rate outside it (0 included) plays at its edge.
constexpr double kSlowest = 0.01;
constexpr double kFastest = 100.0;
// How long DisplaySize 0 waits for a clip that is still opening to give its size.
constexpr int kOpenWaitMs = 5000;
// EndOfStream's result: 0 the clip played to its end, this when it could not play.
constexpr qint32 kNotPlayed = 1;

// Hundredths of a dB below full to a linear amplitude; the bottom of the
// range is silence itself rather than -100 dB.
double Amplitude(qint32 hundredthsDb) { return hundredthsDb <= kSilent ? 0.0 : std::pow(10.0, hundredthsDb / 2000.0); }

double NonNegativeSeconds(double seconds) { return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0; }

}  // namespace

struct Med_Saver::State {
    std::unique_ptr<PlayerEngine> engine;
    QString fileName;
    double selectionStart = 0, selectionEnd = 0, rate = 1;
    qint32 volume = kDefaultVolume, balance = 0, playCount = 1;
    qint32 displaySize = kOwnSize, displayMode = 0;
    bool mute = false, autoStart = true, autoRewind = true, addressMode = false;
    bool opening = false;  // a clip was opened and is neither ready nor over
    bool atEnd = false;    // played to its end
    // At the end and counted as back at the part's start; the picture keeps
    // the last frame until played again, so that no first frame flashes up
    // between the end and the next clip.
    bool rewound = false;
    bool failed = false;   // the clip could not be opened or played
    QString errorDescription;
    QEventLoop* wait = nullptr;

    void OpeningOver() {
        opening = false;
        if (wait) wait->quit();
    }
};

Med_Saver::Med_Saver(QWidget* parent, std::unique_ptr<PlayerEngine> engine)
    : QWidget(parent), state_(std::make_unique<State>()) {
    state_->engine = engine ? std::move(engine) : platform::media::NewMpvEngine(state::TheShowOptions().hardwareDecoding);
    PlayerEngine& player = *state_->engine;
    setMouseTracking(true);  // moves are reported without a button held
    // The keyboard stays with the show window, where any key moves the show
    // on; the player would take every key but Escape without a word.
    setFocusPolicy(Qt::NoFocus);
    platform::FillBlack(*this);
    if (QWidget* view = player.View()) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
    }
    player.Ready = [this] {
        state_->OpeningOver();
        FollowClipSize();
        if (Opened) Opened();
    };
    player.VideoSizeChanged = [this](QSize) { FollowClipSize(); };
    player.EndOfFile = [this](bool failed, const QString& reason) { OnEndOfFile(failed, reason); };
    player.Error = [this](const QString& reason) {
        state_->errorDescription = reason;
        if (Error) Error();
    };
    LetVolume(state_->volume);
    LetBalance(state_->balance);
    LetRate(state_->rate);
    LetPlayCount(state_->playCount);
    player.SetCrossfade(state::TheShowOptions().crossfadeMs);
}

Med_Saver::~Med_Saver() = default;

QString Med_Saver::FileName() const { return state_->fileName; }

void Med_Saver::LetFileName(const QString& value) {
    state_->fileName = value;
    state_->atEnd = state_->rewound = false;
    state_->failed = false;
    if (value.isEmpty()) {
        state_->OpeningOver();
        state_->engine->Close();
        return;
    }
    state_->opening = true;
    state_->engine->Open(value);
    if (state_->autoStart) state_->engine->Play();
}

void Med_Saver::Play() {
    // A clip that could not play ends again, from the event loop: the caller
    // may clear its flags right after Play and wait for the end only then.
    if (state_->failed) {
        QTimer::singleShot(0, this, [this] {
            if (state_->failed && EndOfStream) EndOfStream(kNotPlayed);
        });
        return;
    }
    // After the end, playing starts the part again.
    if (state_->atEnd) state_->engine->Seek(state_->selectionStart);
    state_->atEnd = state_->rewound = false;
    state_->engine->Play();
}

void Med_Saver::Pause() { state_->engine->Pause(); }

void Med_Saver::Prepare(const QString& fileName, double start) {
    state_->engine->Prepare(fileName, NonNegativeSeconds(start));
}

void Med_Saver::FadeInOver(const QImage& before) { state_->engine->FadeInOver(before); }

void Med_Saver::FadeOutOver(const QImage& after) {
    state_->fileName.clear();
    state_->atEnd = state_->rewound = state_->failed = false;
    state_->OpeningOver();
    state_->engine->FadeOutOver(after, [this] { setVisible(false); });  // the engine goes with the control
}

double Med_Saver::CurrentPosition() const {
    return state_->rewound ? state_->selectionStart : state_->engine->Position();
}

void Med_Saver::LetCurrentPosition(double seconds) {
    state_->atEnd = state_->rewound = false;
    state_->engine->Seek(NonNegativeSeconds(seconds));
}

double Med_Saver::Duration() const { return state_->engine->Duration(); }

double Med_Saver::SelectionStart() const { return state_->selectionStart; }

void Med_Saver::LetSelectionStart(double seconds) {
    state_->selectionStart = NonNegativeSeconds(seconds);
    state_->engine->SetPart(state_->selectionStart, state_->selectionEnd);
}

double Med_Saver::SelectionEnd() const { return state_->selectionEnd; }

// An end not after the start (0 among them) plays on to the clip's end.
void Med_Saver::LetSelectionEnd(double seconds) {
    state_->selectionEnd = NonNegativeSeconds(seconds);
    state_->engine->SetPart(state_->selectionStart, state_->selectionEnd);
}

double Med_Saver::Rate() const { return state_->rate; }

void Med_Saver::LetRate(double factor) {
    state_->rate = std::isfinite(factor) ? std::clamp(factor, kSlowest, kFastest) : 1.0;
    state_->engine->SetSpeed(state_->rate);
}

qint32 Med_Saver::Volume() const { return state_->volume; }

void Med_Saver::LetVolume(qint32 value) {
    state_->volume = std::clamp(value, kSilent, 0);
    state_->engine->SetVolume(Amplitude(state_->volume));
}

qint32 Med_Saver::Balance() const { return state_->balance; }

void Med_Saver::LetBalance(qint32 value) {
    state_->balance = std::clamp(value, -kBalanceLimit, kBalanceLimit);
    const qint32 b = state_->balance;
    state_->engine->SetChannelGains(b > 0 ? Amplitude(-b) : 1.0, b < 0 ? Amplitude(b) : 1.0);
}

bool Med_Saver::Mute() const { return state_->mute; }

void Med_Saver::LetMute(bool value) {
    state_->mute = value;
    state_->engine->SetMute(value);
}

qint32 Med_Saver::PlayCount() const { return state_->playCount; }

// A count below 0 is taken as a single play.
void Med_Saver::LetPlayCount(qint32 value) {
    state_->playCount = value < 0 ? 1 : value;
    state_->engine->SetPlayCount(state_->playCount);
}

bool Med_Saver::AutoStart() const { return state_->autoStart; }

void Med_Saver::LetAutoStart(bool value) { state_->autoStart = value; }

bool Med_Saver::AutoRewind() const { return state_->autoRewind; }

void Med_Saver::LetAutoRewind(bool value) { state_->autoRewind = value; }

qint32 Med_Saver::DisplaySize() const { return state_->displaySize; }

// The own size sizes the control to the clip; every other value leaves the
// control's size and fits the picture into it with its proportions, or
// covers it (kCoverControl).
void Med_Saver::LetDisplaySize(qint32 value) {
    state_->displaySize = value;
    state_->engine->SetCover(value == kCoverControl);
    if (value != kOwnSize) return;
    // The caller reads Height right after this, so a clip still opening is
    // waited for.
    AwaitOpening();
    TakeClipSize();
}

// Only the unit of a position display, which this control does not have;
// positions stay in seconds.
qint32 Med_Saver::DisplayMode() const { return state_->displayMode; }

void Med_Saver::LetDisplayMode(qint32 value) { state_->displayMode = value; }

// Addresses and file names open alike; the flag is kept for reading back.
bool Med_Saver::AddressMode() const { return state_->addressMode; }

void Med_Saver::LetAddressMode(bool value) { state_->addressMode = value; }

bool Med_Saver::ReadyToPlay() const { return state_->engine->IsReady(); }

QString Med_Saver::ErrorDescription() const { return state_->errorDescription; }

bool Med_Saver::Failed() const { return state_->failed; }

float Med_Saver::Left() const { return platform::Geometry(*this).Left; }

void Med_Saver::LetLeft(float twips) {
    platform::TwipsRect rect = platform::Geometry(*this);
    rect.Left = twips;
    platform::SetGeometry(*this, rect);
}

float Med_Saver::Top() const { return platform::Geometry(*this).Top; }

void Med_Saver::LetTop(float twips) {
    platform::TwipsRect rect = platform::Geometry(*this);
    rect.Top = twips;
    platform::SetGeometry(*this, rect);
}

float Med_Saver::Width() const { return platform::Geometry(*this).Width; }

void Med_Saver::LetWidth(float twips) {
    platform::TwipsRect rect = platform::Geometry(*this);
    rect.Width = twips;
    platform::SetGeometry(*this, rect);
}

float Med_Saver::Height() const { return platform::Geometry(*this).Height; }

void Med_Saver::LetHeight(float twips) {
    platform::TwipsRect rect = platform::Geometry(*this);
    rect.Height = twips;
    platform::SetGeometry(*this, rect);
}

bool Med_Saver::Visible() const { return !isHidden(); }

void Med_Saver::LetVisible(bool value) { setVisible(value); }

void Med_Saver::mousePressEvent(QMouseEvent* event) {
    const platform::TwipsPoint at = platform::PointInTwips(*this, *event);
    if (Click) Click(platform::VbButton(event->button()), platform::VbShift(event->modifiers()), at.X, at.Y);
}

// The second press of a double click belongs to the first, which has acted
// (a right double click would open the remote and close it again).
void Med_Saver::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void Med_Saver::mouseMoveEvent(QMouseEvent* event) {
    const platform::TwipsPoint at = platform::PointInTwips(*this, *event);
    if (MouseMove) MouseMove(platform::VbButtons(event->buttons()), platform::VbShift(event->modifiers()), at.X, at.Y);
}

void Med_Saver::keyPressEvent(QKeyEvent* event) {
    const int key = platform::VbKeyAscii(*event);
    if (key == 0) {
        QWidget::keyPressEvent(event);  // no character: the window may want it
        return;
    }
    if (KeyPress) KeyPress(key);
}

bool Med_Saver::TakeClipSize() {
    const QSize clip = state_->engine->VideoSize();
    if (clip.isEmpty() || clip == size()) return false;
    resize(clip);
    return true;
}

// While DisplaySize waits for the clip, its caller places the control once
// the clip is ready; a size that comes later is reported.
void Med_Saver::FollowClipSize() {
    if (state_->displaySize != kOwnSize || state_->fileName.isEmpty()) return;
    if (TakeClipSize() && !state_->wait && OwnSizeChanged) OwnSizeChanged();
}

// Runs the event loop until the clip being opened is ready or has failed,
// for a few seconds at most.
void Med_Saver::AwaitOpening() {
    if (!state_->opening || state_->wait) return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(kOpenWaitMs);
    const QPointer<Med_Saver> alive(this);
    state_->wait = &loop;
    loop.exec();
    if (alive) state_->wait = nullptr;
}

void Med_Saver::OnEndOfFile(bool failed, const QString& reason) {
    state_->OpeningOver();
    state_->failed = failed;
    if (failed) state_->errorDescription = reason;
    if (!failed) {
        // The player halts after the last play, at the part's start when it
        // rewinds and at its end when it does not.
        state_->engine->Pause();
        state_->atEnd = true;
        state_->rewound = state_->autoRewind;
    }
    if (EndOfStream) EndOfStream(failed ? kNotPlayed : 0);
}

}  // namespace show
