#include <mpv/client.h>

#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/media/Crossfade.h"
#include "platform/media/MediaSource.h"
#include "platform/media/MpvCore.h"
#include "platform/media/MpvVideoWidget.h"
#include "platform/media/PlayerEngine.h"
#include "platform/media/PlayerTiming.h"
#include "platform/system/CdDrive.h"
#include "platform/vb/VbError.h"

namespace platform::media {
namespace {

// The part is played again only if at least this much of it lies before
// the clip's end; otherwise the repeats would follow each other without end.
constexpr double kShortestRepeat = 0.01;

QByteArray Decimal(double value) { return QByteArray::number(value, 'f', 6); }

// The setting of mpv's volume for a linear amplitude (0 silent, 1 full):
// mpv's volume is cubic, a setting v plays at amplitude (v / 100)^3.
QByteArray MpvVolume(double amplitude) { return Decimal(100.0 * std::cbrt(qBound(0.0, amplitude, 1.0))); }

// The timing log's note on an event: of the clip playing, or of the prepared one.
QString Whose(bool playing) { return playing ? QString() : QStringLiteral("(prepared)"); }

// Plays through one mpv instance and prepares the next clip in a second:
// when the clip asked for is the prepared one, the two change places and
// its first picture is already decoded. Both are made on first need.
class MpvEngine final : public PlayerEngine {
public:
    MpvEngine(MpvOptions options, bool hardwareDecoding);
    ~MpvEngine() override;

    QWidget* View() override { return view_; }
    void Open(const QString& url) override;
    void Prepare(const QString& url, double start) override;
    void Close() override;
    void Play() override;
    void Pause() override;
    double Position() const override;
    void Seek(double seconds) override;
    double Duration() const override { return ready_ ? current_->duration : 0; }
    bool IsReady() const override { return ready_; }
    QSize VideoSize() const override { return ready_ ? current_->size : QSize(); }
    void SetSpeed(double factor) override;
    void SetVolume(double amplitude) override;
    void SetChannelGains(double left, double right) override;
    void SetMute(bool mute) override;
    void SetCover(bool cover) override;
    void SetPart(double start, double end) override;
    void SetPlayCount(int plays) override;
    void SetCrossfade(int milliseconds) override { crossfadeMs_ = milliseconds; }
    void FadeInOver(const QImage& before) override;
    void FadeOutOver(const QImage& after, std::function<void()> fadedOut) override;

private:
    struct Core : MpvCore {
        Core(MpvEngine& engine, MpvOptions options, bool headless, bool hardwareDecoding)
            : MpvCore(options, headless, hardwareDecoding), engine(engine) {
            Listen(&MpvEngine::Wakeup, this);
        }
        MpvEngine& engine;
        std::atomic<bool> drainQueued{false};
        // Frames mpv dropped so far, by its output and by its decoder (for the trace of a fade).
        std::map<QByteArray, int64_t> drops;
    };
    std::unique_ptr<Core> NewCore();
    // The second instance, made at the first preparation; false when it
    // cannot be made, which is reported once and leaves the engine with one.
    bool MakeSpare();
    static void Wakeup(void* core);
    // A command or setting mpv refused for the clip playing is reported
    // through Error; the clip goes on as it can.
    void Check(const QString& refused);
    void Report(const QString& reason);
    // Settings of the clip playing, kept to be given to a prepared clip too.
    void Setting(const char* name, const QByteArray& value);
    void Load();
    void LoadCdTrack(int track);
    void TakePrepared();
    void StartAgain();
    void BecomeReady();
    void Shown();
    void DropPrepared();
    // No clip is asked for any more; the one playing goes on unreported.
    void Forget();
    void GiveUpOpening();
    // Every end of the clip asked for goes through here.
    void Ended(bool failed, const QString& reason);
    void DrainEvents(Core& core);
    // One event of core; playing: of the clip the engine reports on.
    void Handle(Core& core, const mpv_event& event);
    void ReplyCame(Core& core, const mpv_event& event, bool playing);
    void FileStarted(Core& core, const mpv_event_start_file& start, bool playing);
    void FileLoaded(Core& core, bool playing);
    void FactCame(Core& core, const mpv_event& event, bool playing);
    void PlaybackRestarted(Core& core, bool playing);
    void PropertyChanged(Core& core, const mpv_event_property& property, bool playing);
    void FileEnded(Core& core, const mpv_event_end_file& end, bool playing);
    void PartEnded();
    void StartFade();
    void FadeStep(double share);
    // The clip before stops and the clip playing has its whole volume; at
    // the fade's end, or at once when something else is asked for.
    void EndFade();
    // Where mpv stops the clip. With crossfades it never stops at the part's
    // end, which the engine tells from the position instead (PassedEnd):
    // a clip mpv stopped at its end would have to be sought to play on under
    // the fade, and an exact seek decodes from the last key frame, which
    // dropped 20 of the 37 frames of a 1.5 s fade.
    QByteArray EndOption() const {
        return partEnd_ > partStart_ && crossfadeMs_ <= 0 ? Decimal(partEnd_) : QByteArray("none");
    }
    // With crossfades: the position of core went past where its end is told.
    bool PassedEnd(const Core& core, double before, double now) const;

    MpvOptions options_;
    bool hardwareDecoding_ = false;
    bool headless_ = false;
    bool failSpare_ = false;  // ZORSCR_FAIL_SECOND_PLAYER: a spare that cannot be made
    bool oneCore_ = false;    // the spare could not be made: nothing is prepared
    bool silenceTold_ = false;  // an entry without a picture met no sound output
    QObject receiver_;  // queued calls into the GUI thread; dropped with it
    QPointer<QWidget> view_;
    MpvVideoWindow* window_ = nullptr;  // owned by view_
    std::shared_ptr<int> life_ = std::make_shared<int>();  // a callback may destroy the engine
    std::unique_ptr<Core> current_, spare_;

    QString url_;  // asked for by Open
    // The clip asked for is open and ready; until then the clip playing
    // before it reports nothing more.
    bool ready_ = false;
    int loadGeneration_ = 0;
    // Runs from Open until the clip asked for has shown something.
    QTimer opening_;
    std::optional<double> startAt_;
    double partStart_ = 0, partEnd_ = 0;
    int playCount_ = 1, playsLeft_ = 1;
    std::map<QByteArray, QByteArray> settings_;
    // A preparation asked for while the clip asked for has shown nothing
    // yet: made once it has, so that a second instance and its decoder do
    // not compete with that first picture.
    std::optional<std::pair<QString, double>> deferred_;
    int crossfadeMs_ = 0;
    // A crossfade due (it starts once the clip asked for shows its first
    // picture) or under way. FromClip: the clip before plays on in the
    // spare instance, and nothing is prepared meanwhile; FromStill: over a
    // still; ToStill: the clip that was playing fades out over a still.
    enum class Fade { None, FromClip, FromStill, ToStill };
    Fade fadeKind_ = Fade::None;
    // The instance whose picture fades out (the one playing when a still does).
    Core& Outgoing(Fade kind) const { return kind == Fade::FromClip ? *spare_ : *current_; }
    std::map<QByteArray, int64_t> dropsBefore_;  // its drop counts when the fade started
    double playedFrom_ = 0;                       // and its position, seconds
    double incomingFrom_ = 0;                     // the incoming clip's position then, seconds
    QImage fadeStill_;
    std::function<void()> fadedOut_;
    Crossfade fade_{[this](double share) { FadeStep(share); }, [this] { EndFade(); }};
    double amplitude_ = 1;          // the volume set, as an amplitude
    double outgoingAmplitude_ = 1;  // the clip before's, when it was replaced
    // With crossfades a clip past its part's end plays on until the next
    // Open (which pauses it unless it fades out) or Play: the pause of its
    // end of stream is left out, so that it does not stop and start again
    // under the fade.
    bool runsOn_ = false;
};

MpvEngine::MpvEngine(MpvOptions options, bool hardwareDecoding)
    : options_(options),
      hardwareDecoding_(hardwareDecoding),
      headless_(qEnvironmentVariable("ZORSCR_MPV_HEADLESS") == QLatin1String("1")),
      failSpare_(qEnvironmentVariable("ZORSCR_FAIL_SECOND_PLAYER") == QLatin1String("1")) {
    current_ = NewCore();
    opening_.setSingleShot(true);
    opening_.setTimerType(Qt::PreciseTimer);  // a coarse one may end the bound 5 % early
    QObject::connect(&opening_, &QTimer::timeout, &receiver_, [this] { GiveUpOpening(); });
    if (headless_) return;
    window_ = new MpvVideoWindow(
        [this](mpv_handle* mpv, bool available) {
            // Without a renderer (it went, or cannot be made) a clip plays its sound alone.
            for (Core* core : {current_.get(), spare_.get()}) {
                if (core && core->Handle() == mpv) core->Set("vid", available ? "auto" : "no");
            }
        },
        [this](const QString& reason) { Report(reason); });
    view_ = NewMpvVideoWidget(window_);
    window_->Show(current_->Handle());
}

MpvEngine::~MpvEngine() {
    delete view_.data();  // its renderers must go before the players
}

std::unique_ptr<MpvEngine::Core> MpvEngine::NewCore() { return std::make_unique<Core>(*this, options_, headless_, hardwareDecoding_); }

// Preparing is an addition for seamless changes: without it every clip is
// opened afresh, as a clip not prepared in time is, so the show goes on.
bool MpvEngine::MakeSpare() {
    if (spare_) return true;
    if (oneCore_) return false;
    try {
        if (failSpare_)
            throw vb::VbError(vb::ErrNum::CantCreateObject, QStringLiteral("libmpv could not be created (ZORSCR_FAIL_SECOND_PLAYER=1)"));
        spare_ = NewCore();
        return true;
    } catch (const vb::VbError& e) {
        oneCore_ = true;
        Report(QStringLiteral("second player for seamless changes: %1; clips open one after another")
                   .arg(e.description()));
        return false;
    }
}

void MpvEngine::Check(const QString& refused) {
    if (!refused.isEmpty()) Report(refused);
}

// From the event loop, as every callback: the caller of the refused command
// is not re-entered.
void MpvEngine::Report(const QString& reason) {
    QMetaObject::invokeMethod(
        &receiver_, [this, reason] { if (Error) Error(reason); }, Qt::QueuedConnection);
}

// Called on one of mpv's threads whenever events are waiting.
void MpvEngine::Wakeup(void* context) {
    auto* core = static_cast<Core*>(context);
    if (core->drainQueued.exchange(true)) return;
    QMetaObject::invokeMethod(&core->engine.receiver_, [core] { core->engine.DrainEvents(*core); },
                              Qt::QueuedConnection);
}

void MpvEngine::Setting(const char* name, const QByteArray& value) {
    settings_[name] = value;
    Check(current_->Set(name, value));
}

void MpvEngine::Open(const QString& url) {
    TimeNewClip(url);
    deferred_.reset();
    EndFade();  // a clip asked for during a fade cuts in
    outgoingAmplitude_ = amplitude_;
    runsOn_ = false;
    url_ = url;
    ready_ = false;
    startAt_.reset();
    playsLeft_ = playCount_;
    opening_.start(OpeningBound(url));
    if (window_) window_->Outdate();
    // A clip that will fade out plays on.
    if (!(crossfadeMs_ > 0 && spare_ && spare_->loaded && spare_->url == url)) Pause();
    const int generation = ++loadGeneration_;
    QMetaObject::invokeMethod(
        &receiver_, [this, generation] { if (generation == loadGeneration_) Load(); }, Qt::QueuedConnection);
}

void MpvEngine::Load() {
    if (const QString refused = RefusedSource(url_); !refused.isEmpty()) {
        DropPrepared();
        return Ended(true, refused);
    }
    if (const int track = CdTrackOfSource(url_)) return LoadCdTrack(track);
    if (spare_ && spare_->loaded && spare_->url == url_) return TakePrepared();
    DropPrepared();
    if (current_->loaded && current_->url == url_) return StartAgain();
    const double start = startAt_.value_or(partStart_);
    TimeStep("loadfile", QStringLiteral("from %1 s").arg(start));
    current_->Load(url_, start, EndOption());
    if (current_->url.isEmpty()) Ended(true, QStringLiteral("loadfile %1: refused by libmpv").arg(url_));
}

// A CD track plays whole from the disc in the machine's drive; without the
// track there it ends as a clip that cannot be opened.
void MpvEngine::LoadCdTrack(int track) {
    DropPrepared();
    const std::optional<CdTracks> disc = DiscTracks();
    if (!disc || !disc->Holds(track)) return Ended(true, url_ + QStringLiteral(": no disc with this track in the CD drive"));
    TimeStep("loadfile");
    current_->LoadCdTrack(url_, CdDevice(), track, track == disc->last);
    if (current_->url.isEmpty()) Ended(true, QStringLiteral("loadfile %1: refused by libmpv").arg(url_));
}

// The prepared clip becomes the one playing, with the settings made for it
// since Open; the instance that played takes the next preparation.
void MpvEngine::TakePrepared() {
    TimeStep("prepared clip taken");
    std::swap(current_, spare_);
    if (crossfadeMs_ > 0 && window_ && spare_->shown) fadeKind_ = Fade::FromClip;
    // The clip before plays on under the fade, past the end of its part
    // (where its end of stream paused it; see EndOption).
    if (fadeKind_ == Fade::FromClip) Check(spare_->Set("pause", "no"));
    else spare_->Stop();
    for (const auto& [name, value] : settings_)
        Check(current_->Set(name.constData(), value));
    if (fadeKind_ == Fade::FromClip) Check(current_->Set("volume", MpvVolume(0)));
    Check(current_->Set("end", EndOption()));
    ready_ = true;  // commands now go to the clip itself
    if (const double start = startAt_.value_or(partStart_); std::abs(start - current_->start) > 1e-6) Seek(start);
    if (window_) window_->Show(current_->Handle());
    BecomeReady();
}

// The clip asked for is the one open (the show opens its first entry twice
// at the start): it goes back to its start rather than being read again.
void MpvEngine::StartAgain() {
    TimeStep("same clip again");
    Check(current_->Set("end", EndOption()));
    ready_ = true;
    Seek(startAt_.value_or(partStart_));
    BecomeReady();
}

void MpvEngine::BecomeReady() {
    ready_ = true;
    // Such an entry still plays its length, silent; said once, not per entry.
    if (!headless_ && current_->size.isEmpty() && !current_->Audible() && !std::exchange(silenceTold_, true))
        Report(url_ + QStringLiteral(": no sound output; entries without a picture play silently for their length"));
    if (current_->shown) Shown();  // a prepared clip or the same again
    if (Ready) Ready();
}

// The clip asked for has its first picture (or, without video, its sound).
void MpvEngine::Shown() {
    opening_.stop();
    if (window_) window_->PictureIsCurrent();
    if (fadeKind_ != Fade::None && !fade_.Running()) StartFade();
    if (const auto deferred = std::exchange(deferred_, std::nullopt)) Prepare(deferred->first, deferred->second);
}

// The clip open needs no second instance: opened again, it goes back to its
// start (StartAgain), and a second decoder would hold the same clip.
void MpvEngine::Prepare(const QString& url, double start) {
    deferred_.reset();
    if (url == url_) return DropPrepared();
    if (!RefusedSource(url).isEmpty()) return;
    if (opening_.isActive() || fadeKind_ == Fade::FromClip) {
        deferred_.emplace(url, start);
        return;
    }
    if (!MakeSpare()) return;
    if (window_) window_->Add(spare_->Handle());
    if (spare_->url == url && std::abs(spare_->start - start) < 1e-6) return;
    spare_->Load(url, start, "none");
}

void MpvEngine::DropPrepared() {
    if (spare_ && !spare_->url.isEmpty()) spare_->Stop();
}

// The clip asked for has shown nothing within its bound (a server that
// never answers, a source read without end): it is stopped and counts as a
// clip that cannot be opened. mpv takes commands while a clip opens, and in
// order, so the stop cannot overtake the load of the next clip.
void MpvEngine::GiveUpOpening() {
    TimeStep("opening given up");
    ready_ = false;
    current_->Stop();
    Ended(true, url_ + QStringLiteral(": nothing to show within %1 s of opening").arg(opening_.interval() / 1000));
}

void MpvEngine::Ended(bool failed, const QString& reason) {
    opening_.stop();
    if (EndOfFile) EndOfFile(failed, reason);
}

void MpvEngine::Close() {
    Forget();
    DropPrepared();
    current_->Stop();
}

void MpvEngine::Forget() {
    runsOn_ = false;
    ++loadGeneration_;
    opening_.stop();
    url_.clear();
    ready_ = false;
    deferred_.reset();
    EndFade();
}

void MpvEngine::Play() {
    runsOn_ = false;
    Check(current_->Set("pause", "no"));
}

void MpvEngine::Pause() {
    if (!runsOn_) Check(current_->Set("pause", "yes"));
}

double MpvEngine::Position() const {
    if (!ready_) return startAt_.value_or(partStart_);
    return current_->position;
}

void MpvEngine::Seek(double seconds) {
    if (!ready_) {
        startAt_ = seconds;
        return;
    }
    const QByteArray target = Decimal(seconds);
    const char* command[] = {"seek", target.constData(), "absolute", nullptr};
    Check(current_->Command(command));
    current_->position = seconds;
}

void MpvEngine::SetSpeed(double factor) { Setting("speed", Decimal(factor)); }

void MpvEngine::SetVolume(double amplitude) {
    amplitude_ = qBound(0.0, amplitude, 1.0);
    Setting("volume", MpvVolume(amplitude_));
}

// A pan filter weighs the channels; mono is made stereo first so that both
// exist. Without weighting no filter runs, and surround stays surround.
void MpvEngine::SetChannelGains(double left, double right) {
    if (left >= 1.0 && right >= 1.0) {
        Setting("af", "");
        return;
    }
    Setting("af", "@balance:lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=" + Decimal(left) + "*c0|c1=" +
                      Decimal(right) + "*c1]");
}

void MpvEngine::SetMute(bool mute) { Setting("mute", mute ? "yes" : "no"); }

// With keepaspect (mpv's default) a full pan-and-scan crops the longer side
// until the picture covers the view, centred.
void MpvEngine::SetCover(bool cover) { Setting("panscan", cover ? "1.0" : "0.0"); }

void MpvEngine::SetPart(double start, double end) {
    partStart_ = start;
    partEnd_ = end;
    if (ready_) Check(current_->Set("end", EndOption()));
}

void MpvEngine::SetPlayCount(int plays) { playCount_ = playsLeft_ = plays; }

void MpvEngine::DrainEvents(Core& core) {
    core.drainQueued = false;
    const std::weak_ptr<int> alive = life_;
    while (!alive.expired()) {
        const mpv_event& event = core.NextEvent();
        if (event.event_id == MPV_EVENT_NONE) return;
        Handle(core, event);
    }
}

// Events of the prepared clip only keep its facts up; those of the clip
// playing are reported.
void MpvEngine::Handle(Core& core, const mpv_event& event) {
    // Of the clip the engine reports on: the current one, once it is the one
    // asked for (events of a clip replaced come before its successor's).
    const bool playing = &core == current_.get() && core.url == url_;
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
    case MPV_EVENT_SET_PROPERTY_REPLY:
        return ReplyCame(core, event, playing);
    case MPV_EVENT_START_FILE:
        return FileStarted(core, *static_cast<const mpv_event_start_file*>(event.data), playing);
    case MPV_EVENT_FILE_LOADED:
        return FileLoaded(core, playing);
    case MPV_EVENT_GET_PROPERTY_REPLY:
        return FactCame(core, event, playing);
    case MPV_EVENT_PLAYBACK_RESTART:
        PlaybackRestarted(core, playing);
        [[fallthrough]];
    case MPV_EVENT_VIDEO_RECONFIG:
    case MPV_EVENT_AUDIO_RECONFIG:
        return TimeStep(mpv_event_name(event.event_id), Whose(playing));
    case MPV_EVENT_PROPERTY_CHANGE:
        return PropertyChanged(core, *static_cast<const mpv_event_property*>(event.data), playing);
    case MPV_EVENT_END_FILE:
        return FileEnded(core, *static_cast<const mpv_event_end_file*>(event.data), playing);
    default:
        return;
    }
}

// A refused command or setting of the current instance: a prepared clip's
// load failure opens it afresh, a failed load of the clip asked for ends it.
void MpvEngine::ReplyCame(Core& core, const mpv_event& event, bool playing) {
    const QString refused = core.TakeReply(event);
    if (refused.isEmpty() || &core != current_.get()) return;
    if (playing && core.url.isEmpty()) Ended(true, refused);
    else Check(refused);
}

// Events of a clip replaced before it ended come before this one.
void MpvEngine::FileStarted(Core& core, const mpv_event_start_file& start, bool playing) {
    core.started = start.playlist_entry_id == core.entry;
    TimeStep("file started", Whose(playing));
}

void MpvEngine::FileLoaded(Core& core, bool playing) {
    if (!core.started) return;
    core.AskFacts();
    TimeStep("file loaded", Whose(playing));
}

// The clip counts as loaded once all the facts asked for have come.
void MpvEngine::FactCame(Core& core, const mpv_event& event, bool playing) {
    if (!core.started || !core.TakeFact(event)) return;
    core.loaded = true;
    core.shown = core.shown || core.restarted;
    TimeStep("facts read", Whose(playing));
    if (playing) BecomeReady();
}

void MpvEngine::PlaybackRestarted(Core& core, bool playing) {
    core.restarted = true;
    core.shown = core.shown || core.loaded;
    if (playing && core.shown) Shown();
}

// The observed properties of a loaded clip; the clip playing reports the
// end of its part and a change of its size.
void MpvEngine::PropertyChanged(Core& core, const mpv_event_property& property, bool playing) {
    const QByteArray name = property.name;
    // Set when the clip's decoder starts, which may be before its facts are read.
    if (name == "hwdec-current" && property.format == MPV_FORMAT_STRING)
        return TimeStep("decoder", QStringLiteral("%1 (hwdec=%2) %3")
                                       .arg(QString::fromUtf8(*static_cast<char* const*>(property.data)),
                                            hardwareDecoding_ ? "auto-safe" : "no", Whose(playing)));
    if (name.endsWith("drop-count") && property.format == MPV_FORMAT_INT64) {
        core.drops[name] = *static_cast<const int64_t*>(property.data);
        return;
    }
    if (!core.loaded || property.format == MPV_FORMAT_NONE) return;
    if (name == "duration") {
        core.duration = *static_cast<const double*>(property.data);
    } else if (name == "eof-reached") {
        if (playing && ready_ && !runsOn_ && *static_cast<const int*>(property.data)) PartEnded();
    } else if (name == "time-pos") {
        const double before = std::exchange(core.position, *static_cast<const double*>(property.data));
        if (playing && ready_ && !runsOn_ && PassedEnd(core, before, core.position)) PartEnded();
    } else if (name == "video-out-params") {
        const QSize size = DisplaySize(*static_cast<const mpv_node*>(property.data));
        if (!size.isEmpty() && size != core.size) {
            core.size = size;
            if (playing && ready_ && VideoSizeChanged) VideoSizeChanged(size);
        }
    }
}

void MpvEngine::FileEnded(Core& core, const mpv_event_end_file& end, bool playing) {
    if (end.playlist_entry_id != core.entry || !core.started) return;
    core.started = core.loaded = core.restarted = core.shown = false;
    if (&core != current_.get()) {
        core.url.clear();  // a clip that failed while prepared is opened again as any other
        return;
    }
    if (!playing) return;
    TimeStep("end of file");
    if (end.reason == MPV_END_FILE_REASON_EOF) {
        Ended(false, {});
    } else if (end.reason == MPV_END_FILE_REASON_ERROR) {
        Ended(true, MpvReason("play " + url_.toUtf8(), end.error));
    }
}

// The part's end; and on the clip's last pass, a fade's length before the
// file's end at the latest, so that the clip plays on to its last frame
// under the fade instead of standing still there. A clip shorter than two
// fades keeps half its length to itself.
bool MpvEngine::PassedEnd(const Core& core, double before, double now) const {
    if (crossfadeMs_ <= 0) return false;
    double end = partEnd_ > partStart_ ? partEnd_ : std::numeric_limits<double>::infinity();
    const bool lastPass = playCount_ != 0 && playsLeft_ <= 1;
    if (window_ && lastPass && core.duration > partStart_)
        end = std::min(end, core.duration - std::min(crossfadeMs_ / 1000.0, (core.duration - partStart_) / 2));
    return before < end && now >= end;
}

void MpvEngine::PartEnded() {
    const bool again = playCount_ == 0 || --playsLeft_ > 0;
    if (again && current_->duration > partStart_ + kShortestRepeat) {
        Seek(partStart_);  // playback goes on from there
        return;
    }
    playsLeft_ = playCount_;
    TimeStep("end of part");
    runsOn_ = crossfadeMs_ > 0 && window_;
    Ended(false, {});
}

void MpvEngine::FadeInOver(const QImage& before) {
    if (crossfadeMs_ <= 0 || !window_) return;
    fadeKind_ = Fade::FromStill;
    fadeStill_ = before;
    if (ready_ && current_->shown) return StartFade();
    Check(current_->Set("volume", MpvVolume(0)));
}

// The clip goes on as the one playing, but as one no longer asked for, so
// nothing of it is reported.
void MpvEngine::FadeOutOver(const QImage& after, std::function<void()> fadedOut) {
    if (crossfadeMs_ <= 0 || !window_ || !ready_ || !current_->shown) {
        Close();
        return fadedOut();
    }
    Forget();
    fadeKind_ = Fade::ToStill;
    fadeStill_ = after;
    fadedOut_ = std::move(fadedOut);
    StartFade();
}

// The clip asked for shows its first picture (or the clip playing is to go):
// the fade's clock starts.
void MpvEngine::StartFade() {
    TimeStep("crossfade", QStringLiteral("%1 ms").arg(crossfadeMs_));
    using Picture = MpvVideoWindow::FadePicture;
    const Picture playing{current_->Handle(), {}}, still{nullptr, fadeStill_};
    switch (fadeKind_) {
    case Fade::FromClip: window_->Fade(playing, {spare_->Handle(), {}}, [this] { return fade_.Share(); }); break;
    case Fade::FromStill: window_->Fade(playing, still, [this] { return fade_.Share(); }); break;
    case Fade::ToStill: window_->Fade(still, playing, [this] { return fade_.Share(); }); break;
    case Fade::None: return;
    }
    dropsBefore_ = Outgoing(fadeKind_).drops;
    playedFrom_ = Outgoing(fadeKind_).position;
    incomingFrom_ = current_->position;
    fade_.Start(crossfadeMs_);
}

// Picture and sound together: each clip's amplitude follows its share.
void MpvEngine::FadeStep(double share) {
    switch (fadeKind_) {
    case Fade::FromClip:
        Check(spare_->Set("volume", MpvVolume(outgoingAmplitude_ * (1 - share))));
        [[fallthrough]];
    case Fade::FromStill: Check(current_->Set("volume", MpvVolume(amplitude_ * share))); break;
    case Fade::ToStill: Check(current_->Set("volume", MpvVolume(amplitude_ * (1 - share)))); break;
    case Fade::None: return;
    }
    window_->FadeMoved();
}

void MpvEngine::EndFade() {
    const Fade kind = std::exchange(fadeKind_, Fade::None);
    if (kind == Fade::None) return;
    QStringList outgoing;  // the frames the clip that faded out dropped, and how far it played on
    if (kind != Fade::FromStill) {
        for (const auto& [name, count] : Outgoing(kind).drops)
            outgoing << name + ' ' + QString::number(count - dropsBefore_[name]);
        outgoing << QStringLiteral("played on %1 s").arg(Outgoing(kind).position - playedFrom_, 0, 'f', 2);
    }
    if (kind != Fade::ToStill)
        outgoing << QStringLiteral("incoming played %1 s").arg(current_->position - incomingFrom_, 0, 'f', 2);
    TimeStep("crossfade over", outgoing.join(QStringLiteral(", ")));
    fade_.Stop();
    fadeStill_ = {};
    window_->EndFade();
    if (kind == Fade::FromClip) spare_->Stop();
    if (kind == Fade::ToStill) current_->Stop();
    Check(current_->Set("volume", MpvVolume(amplitude_)));
    if (const auto fadedOut = std::exchange(fadedOut_, nullptr)) fadedOut();
    if (deferred_ && !opening_.isActive()) {
        const auto [url, start] = *std::exchange(deferred_, std::nullopt);
        Prepare(url, start);
    }
}

}  // namespace

std::unique_ptr<PlayerEngine> NewMpvEngine(bool hardwareDecoding) {
    return std::make_unique<MpvEngine>(ProgramMpvOptions(), hardwareDecoding);
}

std::unique_ptr<PlayerEngine> NewMpvEngine(MpvOptions options, bool hardwareDecoding) {
    return std::make_unique<MpvEngine>(options, hardwareDecoding);
}

}  // namespace platform::media
