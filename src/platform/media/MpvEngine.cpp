#include <mpv/client.h>

#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <QMetaObject>
#include <QPointer>
#include <QStringList>
#include <QtGlobal>
#include <atomic>
#include <clocale>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/media/MpvVideoWidget.h"
#include "platform/media/PlayerEngine.h"
#include "platform/vb/VbError.h"

namespace platform::media {
namespace {

// Only what a person puts in a collection reaches the player: files and the
// ordinary network and disc schemes. mpv's own sources (fd://, fdclose://,
// memory://, edl://, av://...) would read or close the program's descriptors,
// make up media or hang the show.
bool OrdinarySource(const QString& url) {
    static const QStringList kSchemes{"file", "http",  "https", "rtsp", "rtsps", "rtmp", "rtmps",
                                      "rtp",  "mms",   "mmsh",  "mmst", "ftp",   "cdda"};
    const qsizetype separator = url.indexOf(QStringLiteral("://"));
    return separator < 0 || kSchemes.contains(url.left(separator), Qt::CaseInsensitive);
}

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

using Options = std::span<const std::pair<const char*, const char*>>;

class MpvEngine final : public PlayerEngine {
public:
    explicit MpvEngine(Options options);
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
    // A start-up step mpv refused: the player cannot start.
    void Require(int code, const QByteArray& what);
    void SetOption(const char* name, const char* value);
    // A command or setting mpv refused while the player runs is reported
    // through Error; the clip goes on as it can.
    void Check(int code, const QByteArray& what);
    void Set(const char* name, const QByteArray& value);
    void SetDouble(const char* name, double value);
    void Command(const char** command);
    void Report(const QString& reason);
    // A property mpv has not got at the moment (nothing loaded, no picture)
    // leaves value as it was and gives false.
    template <class T>
    bool Get(const char* name, mpv_format format, T& value) const {
        T got{};
        if (mpv_get_property(mpv_, name, format, &got) < 0) return false;
        value = got;
        return true;
    }
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
    std::shared_ptr<int> life_ = std::make_shared<int>();  // a callback may destroy the engine

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

MpvEngine::MpvEngine(Options options) {
    // mpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) throw vb::VbError(vb::ErrNum::CantCreateObject, QStringLiteral("libmpv could not be created"));
    try {
        const bool headless = qEnvironmentVariable("ZORSCR_MPV_HEADLESS") == QLatin1String("1");
        SetOption("vo", headless ? "null" : "libmpv");
        if (headless || !SoundOutputExists()) SetOption("ao", "null");
        // Video waits for the renderer, which exists once the picture is shown.
        if (!headless) SetOption("vid", "no");
        for (const auto& [name, value] : options) SetOption(name, value);
        Require(mpv_initialize(mpv_), "libmpv initialise");
        for (const auto& [name, format] : {std::pair{"duration", MPV_FORMAT_DOUBLE}, {"eof-reached", MPV_FORMAT_FLAG},
                                           {"dwidth", MPV_FORMAT_INT64}, {"dheight", MPV_FORMAT_INT64}})
            Require(mpv_observe_property(mpv_, 0, name, format), QByteArray("libmpv observe ") + name);
        mpv_set_wakeup_callback(mpv_, &MpvEngine::Wakeup, this);
        if (!headless) {
            view_ = NewMpvVideoWidget(
                mpv_, [this](bool available) { Set("vid", available ? "auto" : "no"); },
                [this](const QString& reason) { Report(reason); });
        }
    } catch (...) {
        mpv_terminate_destroy(mpv_);
        throw;
    }
}

MpvEngine::~MpvEngine() {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    delete view_.data();  // its renderer must go before the player
    mpv_terminate_destroy(mpv_);
}

void MpvEngine::Require(int code, const QByteArray& what) {
    if (code < 0) throw vb::VbError(vb::ErrNum::CantCreateObject, MpvReason(what, code));
}

void MpvEngine::SetOption(const char* name, const char* value) {
    Require(mpv_set_option_string(mpv_, name, value), QByteArray("libmpv option ") + name + "=" + value);
}

void MpvEngine::Check(int code, const QByteArray& what) {
    if (code < 0) Report(MpvReason(what, code));
}

// From the event loop, as every callback: the caller of the refused command
// is not re-entered.
void MpvEngine::Report(const QString& reason) {
    QMetaObject::invokeMethod(
        &receiver_, [this, reason] { if (Error) Error(reason); }, Qt::QueuedConnection);
}

// Called on one of mpv's threads whenever events are waiting.
void MpvEngine::Wakeup(void* engine) {
    auto* self = static_cast<MpvEngine*>(engine);
    if (self->drainQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(&self->receiver_, [self] { self->DrainEvents(); }, Qt::QueuedConnection);
}

void MpvEngine::Set(const char* name, const QByteArray& value) {
    Check(mpv_set_property_string(mpv_, name, value.constData()), QByteArray("set ") + name + "=" + value);
}

void MpvEngine::SetDouble(const char* name, double value) {
    Check(mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value), QByteArray("set ") + name + "=" + Decimal(value));
}

void MpvEngine::Command(const char** command) {
    QByteArray text;
    for (const char** word = command; *word; ++word) text += (text.isEmpty() ? "" : " ") + QByteArray(*word);
    Check(mpv_command(mpv_, command), text);
}

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
    if (!OrdinarySource(url_)) {
        if (EndOfFile) EndOfFile(true, url_ + QStringLiteral(": the player opens only files and ordinary network addresses"));
        return;
    }
    Set("start", Decimal(startAt_.value_or(partStart_)));
    Set("end", EndOption());
    const QByteArray file = url_.toUtf8();
    const char* command[] = {"loadfile", file.constData(), nullptr};
    mpv_node result;
    if (const int code = mpv_command_ret(mpv_, command, &result); code < 0) {
        if (EndOfFile) EndOfFile(true, MpvReason("loadfile " + file, code));
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
    Command(command);
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
    Get("time-pos", MPV_FORMAT_DOUBLE, seconds);
    return seconds;
}

void MpvEngine::Seek(double seconds) {
    if (!loaded_) {
        startAt_ = seconds;
        return;
    }
    const QByteArray target = Decimal(seconds);
    const char* command[] = {"seek", target.constData(), "absolute", nullptr};
    Command(command);
}

void MpvEngine::SetSpeed(double factor) { SetDouble("speed", factor); }

// mpv's volume is cubic: a setting v plays at amplitude (v / 100)^3.
void MpvEngine::SetVolume(double amplitude) {
    SetDouble("volume", 100.0 * std::cbrt(qBound(0.0, amplitude, 1.0)));
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
        Get("duration", MPV_FORMAT_DOUBLE, duration_);
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
            Get("dwidth", MPV_FORMAT_INT64, width);
            Get("dheight", MPV_FORMAT_INT64, height);
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
        if (end->reason == MPV_END_FILE_REASON_EOF) {
            if (EndOfFile) EndOfFile(false, {});
        } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
            if (EndOfFile) EndOfFile(true, MpvReason("play " + url_.toUtf8(), end->error));
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
    if (EndOfFile) EndOfFile(false, {});
}

// The clip's size as its container gives it: known before any picture is
// decoded, and also while video waits for the renderer.
QSize MpvEngine::DemuxedVideoSize() {
    int64_t tracks = 0;
    Get("track-list/count", MPV_FORMAT_INT64, tracks);
    for (int64_t i = 0; i < tracks; ++i) {
        const QByteArray prefix = "track-list/" + QByteArray::number(static_cast<qlonglong>(i)) + "/";
        char* type = mpv_get_property_string(mpv_, (prefix + "type").constData());
        const bool video = type && qstrcmp(type, "video") == 0;
        mpv_free(type);
        if (!video) continue;
        int64_t width = 0, height = 0;
        Get((prefix + "demux-w").constData(), MPV_FORMAT_INT64, width);
        Get((prefix + "demux-h").constData(), MPV_FORMAT_INT64, height);
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return {};
}

}  // namespace

std::unique_ptr<PlayerEngine> NewMpvEngine() { return std::make_unique<MpvEngine>(kFixedOptions); }

std::unique_ptr<PlayerEngine> NewMpvEngine(Options options) { return std::make_unique<MpvEngine>(options); }

}  // namespace platform::media
