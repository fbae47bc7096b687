#include <mpv/client.h>

#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <QMetaObject>
#include <QPointer>
#include <QtGlobal>
#include <atomic>
#include <clocale>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/media/MpvVideoWidget.h"
#include "platform/media/PlayerEngine.h"

namespace platform::media {
namespace {

// The options every player starts with.
constexpr std::pair<const char*, const char*> kFixedOptions[] = {
    {"audio-fallback-to-null", "yes"},
    // Without a sound card mpv plays into its null output, whose pretend
    // buffer of 0.2 s delays the first frame of every clip by that much.
    {"ao-null-buffer", "0.02"},
    // Each entry is a clip of its own: keeping the sound output open for a
    // seamless join makes the next clip wait for the last one's sound.
    {"gapless-audio", "no"},
    // At the end the clip stays loaded, so that its position, length and a
    // later Play still work; repeats are counted here (PartEnded).
    {"keep-open", "yes"},
    {"keep-open-pause", "no"},
    {"idle", "yes"},
    {"pause", "yes"},
    {"hr-seek", "yes"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osd-level", "0"},
    {"ytdl", "no"},
    {"load-scripts", "no"},
};

// A sound server's socket or an ALSA playback device. Without any, mpv would
// try each of its outputs before falling back to none, which delays the
// first picture by a few tenths of a second.
bool SoundOutputExists() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    if (!runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
                               QFileInfo::exists(runtime + QStringLiteral("/pipewire-0"))))
        return true;
    return !QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*p")}, QDir::System).isEmpty();
}

// The part is played again only if at least this much of it lies before
// the clip's end; otherwise the repeats would follow each other without end.
constexpr double kShortestRepeat = 0.01;

QByteArray Decimal(double value) { return QByteArray::number(value, 'f', 6); }

class MpvEngine final : public PlayerEngine {
public:
    MpvEngine();
    ~MpvEngine() override;

    QWidget* View() override { return view_; }
    void Open(const QString& url) override;
    void Close() override;
    void Play() override;
    void Pause() override;
    double Position() const override;
    void Seek(double seconds) override;
    double Duration() const override { return duration_; }
    bool IsReady() const override { return loaded_; }
    QSize VideoSize() const override { return size_; }
    void SetSpeed(double factor) override;
    void SetVolume(double amplitude) override;
    void SetChannelGains(double left, double right) override;
    void SetMute(bool mute) override;
    void SetPart(double start, double end) override;
    void SetPlayCount(int plays) override;

private:
    static void Wakeup(void* engine);
    void Set(const char* name, const QByteArray& value);
    void Load();
    void DrainEvents();
    void Handle(const mpv_event& event);
    void PartEnded();
    QSize DemuxedVideoSize();
    QByteArray EndOption() const { return partEnd_ > partStart_ ? Decimal(partEnd_) : QByteArray("none"); }

    mpv_handle* mpv_ = nullptr;
    QObject receiver_;  // queued calls into the GUI thread; dropped with it
    QPointer<QWidget> view_;
    std::atomic<bool> drainQueued_{false};
    std::shared_ptr<int> life_ = std::make_shared<int>();  // callbacks may delete the engine

    QString url_;
    int loadGeneration_ = 0;
    int64_t entry_ = -1;   // mpv's playlist entry of the current clip
    bool started_ = false;  // mpv's events now concern the current clip
    bool loaded_ = false;
    double duration_ = 0;
    QSize size_;
    std::optional<double> startAt_;
    double partStart_ = 0, partEnd_ = 0;
    int playCount_ = 1, playsLeft_ = 1;
};

MpvEngine::MpvEngine() {
    // mpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) qFatal("libmpv could not be started");
    const bool headless = qEnvironmentVariable("ZORSCR_MPV_HEADLESS") == QLatin1String("1");
    mpv_set_option_string(mpv_, "vo", headless ? "null" : "libmpv");
    if (headless || !SoundOutputExists()) mpv_set_option_string(mpv_, "ao", "null");
    // Video waits for the renderer, which exists once the picture is shown.
    if (!headless) mpv_set_option_string(mpv_, "vid", "no");
    for (const auto& [name, value] : kFixedOptions) mpv_set_option_string(mpv_, name, value);
    if (mpv_initialize(mpv_) < 0) qFatal("libmpv could not be initialised");
    mpv_observe_property(mpv_, 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, 0, "dwidth", MPV_FORMAT_INT64);
    mpv_observe_property(mpv_, 0, "dheight", MPV_FORMAT_INT64);
    mpv_set_wakeup_callback(mpv_, &MpvEngine::Wakeup, this);
    if (!headless) {
        view_ = NewMpvVideoWidget(mpv_, [this](bool available) { Set("vid", available ? "auto" : "no"); });
    }
}

MpvEngine::~MpvEngine() {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    delete view_.data();  // its renderer must go before the player
    mpv_terminate_destroy(mpv_);
}

// Called on one of mpv's threads whenever events are waiting.
void MpvEngine::Wakeup(void* engine) {
    auto* self = static_cast<MpvEngine*>(engine);
    if (self->drainQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(&self->receiver_, [self] { self->DrainEvents(); }, Qt::QueuedConnection);
}

void MpvEngine::Set(const char* name, const QByteArray& value) { mpv_set_property_string(mpv_, name, value.constData()); }

void MpvEngine::Open(const QString& url) {
    url_ = url;
    started_ = loaded_ = false;
    duration_ = 0;
    size_ = {};
    startAt_.reset();
    playsLeft_ = playCount_;
    Pause();
    const int generation = ++loadGeneration_;
    QMetaObject::invokeMethod(
        &receiver_, [this, generation] { if (generation == loadGeneration_) Load(); }, Qt::QueuedConnection);
}

void MpvEngine::Load() {
    Set("start", Decimal(startAt_.value_or(partStart_)));
    Set("end", EndOption());
    const QByteArray file = url_.toUtf8();
    const char* command[] = {"loadfile", file.constData(), nullptr};
    mpv_node result;
    if (mpv_command_ret(mpv_, command, &result) < 0) {
        if (EndOfFile) EndOfFile(true);
        return;
    }
    entry_ = -1;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0) entry_ = result.u.list->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
}

void MpvEngine::Close() {
    ++loadGeneration_;
    url_.clear();
    started_ = loaded_ = false;
    duration_ = 0;
    size_ = {};
    const char* command[] = {"stop", nullptr};
    mpv_command(mpv_, command);
}

void MpvEngine::Play() {
    Set("pause", "no");
}

void MpvEngine::Pause() {
    Set("pause", "yes");
}

double MpvEngine::Position() const {
    if (!loaded_) return startAt_.value_or(partStart_);
    double seconds = 0;
    mpv_get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &seconds);
    return seconds;
}

void MpvEngine::Seek(double seconds) {
    if (!loaded_) {
        startAt_ = seconds;
        return;
    }
    const QByteArray target = Decimal(seconds);
    const char* command[] = {"seek", target.constData(), "absolute", nullptr};
    mpv_command(mpv_, command);
}

void MpvEngine::SetSpeed(double factor) { mpv_set_property(mpv_, "speed", MPV_FORMAT_DOUBLE, &factor); }

// mpv's volume is cubic: a setting v plays at amplitude (v / 100)^3.
void MpvEngine::SetVolume(double amplitude) {
    double volume = 100.0 * std::cbrt(qBound(0.0, amplitude, 1.0));
    mpv_set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume);
}

// A pan filter weighs the channels; mono is made stereo first so that both
// exist. Without weighting no filter runs, and surround stays surround.
void MpvEngine::SetChannelGains(double left, double right) {
    if (left >= 1.0 && right >= 1.0) {
        Set("af", "");
        return;
    }
    Set("af", "@balance:lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=" + Decimal(left) + "*c0|c1=" +
                  Decimal(right) + "*c1]");
}

void MpvEngine::SetMute(bool mute) { Set("mute", mute ? "yes" : "no"); }

void MpvEngine::SetPart(double start, double end) {
    partStart_ = start;
    partEnd_ = end;
    if (loaded_) Set("end", EndOption());
}

void MpvEngine::SetPlayCount(int plays) { playCount_ = playsLeft_ = plays; }

void MpvEngine::DrainEvents() {
    drainQueued_ = false;
    const std::weak_ptr<int> alive = life_;
    while (!alive.expired()) {
        const mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        Handle(*event);
    }
}

void MpvEngine::Handle(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        // Events of a clip replaced before it ended come before this one.
        started_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id == entry_;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (!started_) break;
        loaded_ = true;
        mpv_get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &duration_);
        size_ = DemuxedVideoSize();
        if (Ready) Ready();
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (!loaded_ || property->format == MPV_FORMAT_NONE) break;
        const QByteArray name = property->name;
        if (name == "duration") {
            duration_ = *static_cast<const double*>(property->data);
        } else if (name == "eof-reached") {
            if (*static_cast<const int*>(property->data)) PartEnded();
        } else {
            int64_t width = 0, height = 0;
            mpv_get_property(mpv_, "dwidth", MPV_FORMAT_INT64, &width);
            mpv_get_property(mpv_, "dheight", MPV_FORMAT_INT64, &height);
            const QSize size(static_cast<int>(width), static_cast<int>(height));
            if (!size.isEmpty() && size != size_) {
                size_ = size;
                if (VideoSizeChanged) VideoSizeChanged(size_);
            }
        }
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (end->playlist_entry_id != entry_ || !started_) break;
        started_ = loaded_ = false;
        if (end->reason == MPV_END_FILE_REASON_ERROR || end->reason == MPV_END_FILE_REASON_EOF) {
            if (EndOfFile) EndOfFile(end->reason == MPV_END_FILE_REASON_ERROR);
        }
        break;
    }
    default:
        break;
    }
}

void MpvEngine::PartEnded() {
    const bool again = playCount_ == 0 || --playsLeft_ > 0;
    if (again && duration_ > partStart_ + kShortestRepeat) {
        Seek(partStart_);  // playback goes on from there
        return;
    }
    playsLeft_ = playCount_;
    if (EndOfFile) EndOfFile(false);
}

// The clip's size as its container gives it: known before any picture is
// decoded, and also while video waits for the renderer.
QSize MpvEngine::DemuxedVideoSize() {
    int64_t tracks = 0;
    mpv_get_property(mpv_, "track-list/count", MPV_FORMAT_INT64, &tracks);
    for (int64_t i = 0; i < tracks; ++i) {
        const QByteArray prefix = "track-list/" + QByteArray::number(static_cast<qlonglong>(i)) + "/";
        char* type = mpv_get_property_string(mpv_, (prefix + "type").constData());
        const bool video = type && qstrcmp(type, "video") == 0;
        mpv_free(type);
        if (!video) continue;
        int64_t width = 0, height = 0;
        mpv_get_property(mpv_, (prefix + "demux-w").constData(), MPV_FORMAT_INT64, &width);
        mpv_get_property(mpv_, (prefix + "demux-h").constData(), MPV_FORMAT_INT64, &height);
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return {};
}

}  // namespace

std::unique_ptr<PlayerEngine> NewMpvEngine() { return std::make_unique<MpvEngine>(); }

}  // namespace platform::media
