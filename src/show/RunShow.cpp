#include "show/RunShow.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "config/EntryAddress.h"
#include "config/Instances.h"
#include "config/LogError.h"
#include "platform/resources/StringTable.h"
#include "platform/system/MemoryUse.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalShow.h"
#include "platform/ui/Twips.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"
#include "platform/vb/VbString.h"
#include "platform/vb/VbTimer.h"
#include "show/BatteryRule.h"
#include "show/Crossfades.h"
#include "show/FormInstances.h"
#include "show/ResumePlace.h"
#include "show/frmCover.h"
#include "show/ShowRules.h"
#include "show/ShuffledOrder.h"
#include "show/ScreenCovers.h"
#include "show/StillPicture.h"
#include "state/RunState.h"
#include "state/ShowOptions.h"
#include "web/frmZORWeb.h"

using namespace state;
using namespace config;
using namespace web;

namespace show {

namespace {

constexpr int kMessagesBeforeWait = 8;
constexpr float kOffScreen = 20000;  // twips
constexpr double kReadySeconds = 9;  // a local clip that never reports ready is played anyway
constexpr qint32 kBalanceCentre = 1000;  // the record keeps the balance offset by this
constexpr int kSlowConnectionText = 183;
constexpr int kMovedMoviesText = 184;
constexpr int kMovieLocationTitle = 185;
constexpr int kFirstRetryPauseMs = 1000;  // after a whole round of entries that failed
constexpr int kLongestRetryPauseMs = 60000;

bool EntryOver() { return gEntryDone || gStopRequest || gQuit; }

// Waits until the player can play its clip, or about nine seconds (the start
// is taken to the whole second). Sleeps between events. An entry that is
// over already (a clip that cannot be opened, input) needs no wait.
void WaitUntilReady(Med_Saver& player) {
    const double start = vb::CLng(static_cast<double>(vb::Timer()));
    const double limitMs = (start + kReadySeconds - vb::Timer()) * 1000;
    QElapsedTimer clock;  // measured, not read from the clock of the day, so midnight cannot stop it
    clock.start();
    while (!player.ReadyToPlay() && !EntryOver()) {
        const double leftMs = limitMs - static_cast<double>(clock.elapsed());
        if (leftMs < 0) break;
        platform::WaitForEvents(static_cast<int>(std::ceil(leftMs)) + 1);
    }
    platform::DoEvents();
}

// held: the clip stays at its first picture for the still delay (on
// battery), instead of playing. fromSeconds: where a resumed show's first
// clip starts (0: at its loop start).
void StartPlayerEntry(Movie& entry, bool held, double fromSeconds) {
    frmCover& cover = TheCover();  // a first use starts the entry already (load step)
    const Outgoing before = TakeOutgoing(cover);
    cover.Img_Stillc->LoadPicture(QString());
    platform::TwipsRect still = platform::Geometry(*cover.Img_Stillc);
    still.Left = kOffScreen;
    platform::SetGeometry(*cover.Img_Stillc, still);
    cover.Img_Stillc->setVisible(false);
    Med_Saver& player = *cover.Med_Saver;
    ConfigurePlay(player, entry, vb::CLng(entry.Balance().ToDouble() - kBalanceCentre), entry.LoopForever());
    if (fromSeconds > 0) player.LetCurrentPosition(std::max(fromSeconds, player.SelectionStart()));
    FadeIntoClip(cover, before);
    player.LetVisible(true);
    cover.show();
    if (!held) player.Play();
    gEntryDone = false;
    gQuit = false;
    const bool waits = !IsAddress(entry.MovieName()) && !player.FileName().isEmpty();
    if (waits) WaitUntilReady(player);
    if (held) return StartStillTimer(cover);
    if (!waits) return;
    player.Play();
    platform::DoEvents();
}

// The show window without its player, for an entry that is not a clip
// (the player hides itself when a clip fades out).
frmCover& CoverWithoutPlayer(bool clipFadesOut = false) {
    frmCover& cover = TheCover();
    if (!clipFadesOut) {
        cover.Med_Saver->Pause();
        cover.Med_Saver->LetFileName(QString());
        cover.Med_Saver->LetVisible(false);
    }
    gEntryDone = false;
    gQuit = false;
    if (ZORWebLoaded()) TheZORWeb().hide();
    ForgetStopRequest();
    return cover;
}

void StartStill(Movie& entry) {
    const Outgoing before = TakeOutgoing(TheCover());
    frmCover& cover = CoverWithoutPlayer(before.clip);
    ShowStillPicture(cover, entry);
    FadeIntoStill(cover, before);
}

// Black for the still delay in place of the entry (on battery); input
// ends it as any entry.
void StartBlack() {
    frmCover& cover = CoverWithoutPlayer();
    cover.Img_Stillc->LoadPicture(QString());
    cover.Img_Stillc->setVisible(false);
    cover.show();
    StartStillTimer(cover);
}

[[noreturn]] void EndShow() {
    platform::ShowCursor(true);
    vb::EndProgram();
}

// Steps 1 and 2 of wait and advance: sleeps until a handler has raised a
// flag, then reads them in their order. A quit ends the program here.
void WaitForEntryEnd() {
    for (int i = 0; i < kMessagesBeforeWait; ++i) platform::DoEvents();
    for (;;) {
        if (gQuit) EndShow();
        if (gEntryDone) return;
        if (gStopRequest) {
            gEntryDone = false;
            return;
        }
        platform::WaitForEvents();  // flags change only in handlers, which run in here
    }
}

// A collection whose every entry fails would reopen its files without a
// pause for ever. Each failing file is logged once; after as many failures
// in a row as there are entries, the loop pauses (a second at first,
// doubling up to a minute) unless input asks for something first.
class FailedEntries {
public:
    void Ended(const Movie& entry) {
        const bool failed = !entry.IsHTML() && !entry.IsStill() && CoverLoaded() && TheCover().Med_Saver->Failed();
        if (!failed) {
            inARow_ = 0;
            pauseMs_ = kFirstRetryPauseMs;
            return;
        }
        if (logged_.insert(entry.Path() + entry.MovieName()).second)
            LogError(QStringLiteral("Media player error: ") + TheCover().Med_Saver->ErrorDescription(), false);
        if (++inARow_ < gMovies().Count()) return;
        inARow_ = 0;
        QElapsedTimer paused;
        paused.start();
        while (paused.elapsed() < pauseMs_ && !gQuit && !gStopRequest)
            platform::WaitForEvents(static_cast<int>(pauseMs_ - paused.elapsed()));
        if (gQuit) EndShow();  // the next entry's start would clear it
        pauseMs_ = std::min(pauseMs_ * 2, kLongestRetryPauseMs);
    }

private:
    int inARow_ = 0;
    int pauseMs_ = kFirstRetryPauseMs;
    std::set<QString> logged_;
};

// A shuffled show's order (--shuffle); none in the collection's order.
std::optional<ShuffledOrder> shuffled;

// The entry after the one playing: the same again when it loops forever
// (counted from the entry that played, so that a last entry that loops
// forever is not lost in the wrap); else the shuffled order's next, or the
// next position, the first after the last. The loop and the preparation of
// the next clip both ask here.
qint16 NextPosition() {
    if (gMovies().Item(gCurrentIndex).LoopForever()) return gCurrentIndex;
    if (shuffled) return static_cast<qint16>(shuffled->Next());
    return gPlayPos == gMovies().Count() ? qint16{1} : static_cast<qint16>(gPlayPos + 1);
}

void Advance() {
    ForgetStopRequest();
    const qint16 next = NextPosition();
    if (shuffled && !gMovies().Item(gCurrentIndex).LoopForever()) shuffled->Take();
    gPlayPos = next;
}

// While an entry is shown, the player readies the clip the loop takes next,
// so that it starts without a gap. Not after an entry that loops forever
// (only input ends it, and then the same clip plays on), nor for addresses,
// whose early opening would hold a connection or a live stream, nor for CD
// tracks, whose drive one reader at a time should have.
void PrepareNextEntry() {
    if (!CoverLoaded() || gMovies().Item(gCurrentIndex).LoopForever()) return;
    const Movie& next = gMovies().Item(NextPosition());
    if (!PreparedAhead(next)) return;
    TheCover().Med_Saver->Prepare(LocalFileName(next), next.LoopStart().ToDouble());
}

[[noreturn]] void ShowLoop(int offset) {
    gRunMode = kRunModeShow;
    const int count = gMovies().Count();
    const bool resume = TheShowOptions().resume && count > 0;
    ResumeStart start = resume ? KeptStart() : ResumeStart{};
    if (offset > 0 && count > 0) {
        start.entry = static_cast<qint16>(PositionAfter(start.entry, offset, count));
        start.seconds = 0;
    }
    if (resume) KeepPlaceAtEnd();
    shuffled.reset();
    if (TheShowOptions().shuffle && count > 0) shuffled.emplace(count, start.entry);
    double fromSeconds = start.seconds;
    gCurrentIndex = shuffled ? static_cast<qint16>(shuffled->Current()) : std::max(start.entry, qint16{1});
    platform::DoEvents();
    ForgetStopRequest();
    gQuit = false;
    // A remote control window not yet made is not visible: it is made on first
    // use, so its mixer message cannot hold up the start of a show.
    if (QWidget* control = LoadedControl(); control && control->isVisible()) control->hide();
    FailedEntries failures;
    for (gPlayPos = gCurrentIndex; gPlayPos <= count;) {  // the window's load step starts the first
        gCurrentIndex = gPlayPos;
        gEntryDone = false;
        ++gEntriesStarted;
        CoversFollowEntry(gPlayPos);
        Movie& entry = gMovies().Item(gPlayPos);
        const auto onBattery = EntryOnBattery();
        if (onBattery == ShowOptions::OnBattery::Black) {
            StartBlack();
        } else if (entry.IsHTML()) {
            if (CoverLoaded()) TheCover().hide();
            ShowWebEntry(gPlayPos);
        } else if (entry.IsStill() && !entry.IsTrueRM()) {
            StartStill(entry);
            PrepareNextEntry();
        } else {
            StartPlayerEntry(entry, onBattery == ShowOptions::OnBattery::Still, fromSeconds);  // RealMedia too
            PrepareNextEntry();
        }
        fromSeconds = 0;
        WaitForEntryEnd();
        failures.Ended(entry);
        Advance();
    }
    // Only an empty collection gets here: the black window waits for the
    // input that ends the show, starting no entry.
    TheCover().show();
    for (;;) {
        gEntryDone = false;
        WaitForEntryEnd();
        ForgetStopRequest();
    }
}

[[noreturn]] void MovieLocationError() {
    bool address = false;
    vb::ResumeNext([&] { address = IsAddress(gMovies().Item(gCurrentIndex).MovieName()); });
    const int text = address ? kSlowConnectionText : kMovedMoviesText;
    platform::MsgBox(platform::LoadResString(text).value_or(QString()),
                     platform::LoadResString(kMovieLocationTitle).value_or(QString()));
    platform::ShowCursor(true);
    vb::EndProgram();
}

}  // namespace

void RunShow(int offset) {
    vb::OnError([offset] { ShowLoop(offset); },
                [](const vb::VbError& e) {
                    // A player that cannot start is a failure of the start-up,
                    // whose handler logs it; it says nothing about the movies.
                    if (e.number() == vb::ErrNum::CantCreateObject) throw e;
                });
    MovieLocationError();
}

void ShowWebEntry(qint16 position) {
    UnloadZORWeb();
    UnloadCover();  // abandons the entry (StopEntry); the next player or still entry makes a fresh window
    platform::ReturnFreedMemory();  // of the player and the browser just destroyed
    Movie& entry = gMovies().Item(position);
    if (!entry.IsHTML()) return;
    gWebAddress = WebAddress(entry);
    platform::ShowModal(TheZORWeb());
    FinishEntry();
}

void PlaceShowIn(const QRect& place) {
    if (ZORWebLoaded()) TheZORWeb().setGeometry(place);
    if (!CoverLoaded()) return;
    frmCover& cover = TheCover();
    cover.setGeometry(place);
    if (gCurrentIndex < 1 || gCurrentIndex > gMovies().Count()) return;
    const Movie& entry = gMovies().Item(gCurrentIndex);
    if (cover.Med_Saver->Visible()) FollowScreen(*cover.Med_Saver, entry);
    if (cover.Img_Stillc->isVisibleTo(&cover)) PlaceStill(cover, entry);
}

}  // namespace show
