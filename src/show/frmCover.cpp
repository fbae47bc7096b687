#include "show/frmCover.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <map>
#include <utility>

#include "config/Instances.h"
#include "password/PasswordExit.h"
#include "platform/ui/BlackBackground.h"
#include "platform/ui/VbInput.h"
#include "platform/ui/WindowCaption.h"
#include "platform/vb/VbError.h"
#include "platform/vb/VbString.h"
#include "show/ShowRules.h"
#include "state/RunState.h"

using namespace state;
using namespace config;
using namespace password;

namespace show {

namespace {
constexpr int kPreviewPlays = 0;  // without end
}  // namespace

frmCover::frmCover(std::unique_ptr<platform::media::PlayerEngine> engine)
    : Med_Saver(new show::Med_Saver(this, std::move(engine))),
      Img_Stillc(new platform::ImageControl(this)),
      StillTimerc(new QTimer(this)) {
    setWindowFlag(Qt::FramelessWindowHint);
    platform::FillBlack(*this);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The screen, not only the place: on Wayland the compositor places
    // windows, and full screen goes to the output of the window's screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    // The preview is placed by the start-up, a host window's show by the host.
    if (!InPreview() && !Hosted()) setWindowState(Qt::WindowFullScreen);

    Img_Stillc->hide();
    StillTimerc->setSingleShot(true);
    connect(StillTimerc, &QTimer::timeout, this, [this] { vb::ResumeNext([&] { StillTimerc_Timer(); }); });

    Med_Saver->EndOfStream = [this](qint32 result) { vb::ResumeNext([&] { Med_Saver_EndOfStream(result); }); };
    Med_Saver->Click = [this](int button, int shift, float x, float y) {
        vb::ResumeNext([&] { Med_Saver_Click(button, shift, x, y); });
    };
    Med_Saver->MouseMove = [this](int button, int shift, float x, float y) {
        vb::ResumeNext([&] { Med_Saver_MouseMove(button, shift, x, y); });
    };
    Med_Saver->KeyPress = [this](int keyAscii) { vb::ResumeNext([&] { Med_Saver_KeyPress(keyAscii); }); };
    Med_Saver->Error = [this] { vb::ResumeNext([&] { Med_Saver_Error(); }); };
    Med_Saver->OwnSizeChanged = [this] { vb::ResumeNext([&] { Med_Saver_OwnSizeChanged(); }); };
    Img_Stillc->MouseMove = [this](int button, int shift, float x, float y) {
        Img_Stillc_MouseMove(button, shift, x, y);
    };

    Form_Load();
}

frmCover::~frmCover() = default;

bool frmCover::PasswordExit() { return password::PasswordExit(); }

void frmCover::Form_Load() {
    // A failure leaves the rest of the step undone, silently: the show loop
    // configures the entry itself.
    vb::OnError(
        [&] {
            if (InPreview() && gMovies().Item(1).IsHTML()) return;
            Movie& entry = gMovies().Item(InPreview() ? 1 : gCurrentIndex);
            if (entry.IsHTML() || entry.IsStill()) return;
            if (InPreview())
                LoadPreview();
            else
                LoadShowEntry(entry);
        },
        [](const vb::VbError&) {});
}

void frmCover::LoadPreview() {
    Med_Saver->LetDisplaySize(show::Med_Saver::kPreviewSize);
    Med_Saver->LetTop(0);
    Med_Saver->LetLeft(0);
    Med_Saver->LetAutoRewind(true);
    Med_Saver->LetPlayCount(kPreviewPlays);
    Med_Saver->LetAutoStart(true);
    Med_Saver->LetFileName(QString());  // closes whatever was open
    Med_Saver->LetDisplaySize(show::Med_Saver::kPreviewSize);
    FileNameRule(*Med_Saver, gMovies().Item(1));  // the first entry, whatever the current one
    Med_Saver->LetDisplaySize(show::Med_Saver::kFitToControl);
    Med_Saver->Play();
}

void frmCover::LoadShowEntry(Movie& entry) {
    ForgetStopRequest();
    // CD tracks, QuickTime 4 and RealMedia entries are started by the show loop.
    if (vb::UCase(EntryExtension(entry.MovieName())) == QStringLiteral("CDA") && !entry.IsTrueQT4()) return;
    if (entry.IsTrueQT4() || entry.IsTrueRM()) return;
    ConfigurePlay(*Med_Saver, entry, 0, entry.RemoteRepeat());
    Med_Saver->LetVisible(true);
    Med_Saver->LetAutoStart(true);
    Med_Saver->Play();
}

void frmCover::Form_Unload() { StopEntry(); }

void frmCover::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

namespace {

// The entry each key now down went down in, for every show window (a press
// may outlive the window it began on).
std::map<int, quint32>& KeysDown() {
    static std::map<int, quint32> keys;
    return keys;
}

// Runs a key or double-click handler; when its press has ended an entry
// already, the stop request it raises is taken back, while everything else
// it does (Escape's password check) stands. On a busy machine a release
// comes after the show has moved on, and would end the next entry too.
void CountOnce(bool stale, const std::function<void()>& handler) {
    const bool before = gStopRequest;
    vb::ResumeNext(handler);
    if (stale) PutBackStopRequest(before);
}

}  // namespace

void frmCover::keyPressEvent(QKeyEvent* event) {
    const int shift = platform::VbShift(event->modifiers());
    const int code = platform::VbKeyCode(*event);
    if (!event->isAutoRepeat()) KeysDown()[code] = gEntriesStarted;
    const auto down = KeysDown().find(code);
    const bool stale = down == KeysDown().end() || down->second != gEntriesStarted;
    CountOnce(stale, [&] { Form_KeyDown(code, shift); });
    if (const int ascii = platform::VbKeyAscii(*event)) CountOnce(stale, [&] { Form_KeyPress(ascii); });
}

void frmCover::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;  // a held key comes up once, when it is let go
    const int code = platform::VbKeyCode(*event);
    const auto down = KeysDown().find(code);
    const bool stale = down == KeysDown().end() || down->second != gEntriesStarted;
    if (down != KeysDown().end()) KeysDown().erase(down);
    CountOnce(stale, [&] { Form_KeyUp(code, platform::VbShift(event->modifiers())); });
}

void frmCover::mouseMoveEvent(QMouseEvent* event) {
    const platform::TwipsPoint p = platform::PointInTwips(*this, *event);
    vb::ResumeNext([&] {
        Form_MouseMove(platform::VbButtons(event->buttons()), platform::VbShift(event->modifiers()), p.X, p.Y);
    });
}

void frmCover::mousePressEvent(QMouseEvent*) {
    press_ = Press::Single;
    firstPressEntry_ = std::exchange(pressEntry_, gEntriesStarted);
}

// The second press of a double click raises DblClick instead of a Click;
// with the first click it is one action. Qt delivers the second press before
// the double click, so the first click's press is the one before it.
void frmCover::mouseDoubleClickEvent(QMouseEvent*) {
    press_ = Press::Double;
    CountOnce(firstPressEntry_ != gEntriesStarted, [&] { Form_DblClick(); });
}

// A release belongs to the control the button went down on.
void frmCover::mouseReleaseEvent(QMouseEvent* event) {
    const Press press = std::exchange(press_, Press::None);
    if (press == Press::None) return;
    const platform::TwipsPoint p = platform::PointInTwips(*this, *event);
    vb::ResumeNext([&] {
        Form_MouseUp(platform::VbButton(event->button()), platform::VbShift(event->modifiers()), p.X, p.Y);
    });
    if (press == Press::Single) vb::ResumeNext([&] { Form_Click(); });
}

void frmCover::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The player's design size is the whole window. In the preview area,
    // whose size is known only once the start-up has placed the window, it
    // keeps filling it; in a show the layout rule places it.
    if (InPreview()) Med_Saver->setGeometry(rect());
}

void frmCover::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    platform::KeepCaptionEmpty(*this);
    // A show takes the keyboard, wherever the pointer is; a preview or a
    // host's window must not.
    if (InPreview() || Hosted()) return;
    activateWindow();
    setFocus();
}

}  // namespace show
