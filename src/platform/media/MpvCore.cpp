#include "platform/media/MpvCore.h"

#include <mpv/client.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <clocale>

#include "platform/media/MpvVideoWidget.h"
#include "platform/vb/VbError.h"

namespace platform::media {
namespace {

constexpr std::pair<const char*, const char*> kProgramOptions[] = {
    {"audio-fallback-to-null", "yes"},
    // Without a sound card mpv plays into its null output, whose pretend
    // buffer of 0.2 s delays the first frame of every clip by that much.
    {"ao-null-buffer", "0.02"},
    // Each entry is a clip of its own: keeping the sound output open for a
    // seamless join makes the next clip wait for the last one's sound.
    {"gapless-audio", "no"},
    // At the end the clip stays loaded, so that its position, length and a
    // later Play still work; repeats are counted by the engine.
    {"keep-open", "yes"},
    {"keep-open-pause", "no"},
    {"idle", "yes"},
    {"pause", "yes"},
    {"hr-seek", "yes"},
    // Pictures are handed over at their due time and drawn at once (the
    // renderer does not wait, see MpvVideoWidget): mpv's default head start
    // would show each of them up to 50 ms early.
    {"video-timing-offset", "0"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osd-level", "0"},
    {"ytdl", "no"},
    // Seconds a network read may wait for the server before the clip fails:
    // a server that stops answering mid-clip must not hold the show. Longer
    // than the bound on opening (MediaSource), which decides while a clip opens.
    {"network-timeout", "20"},
    {"load-scripts", "no"},
};

// PULSE_SERVER lists servers ("{machine}unix:/path", "tcp:host", a path, a
// host); a local socket counts when it exists, a network server on trust.
bool PulseServerNamed() {
    for (QString server : qEnvironmentVariable("PULSE_SERVER").split(u' ', Qt::SkipEmptyParts)) {
        if (server.startsWith(u'{')) server = server.mid(server.indexOf(u'}') + 1);
        if (server.startsWith(QLatin1String("unix:"))) server = server.mid(5);
        if (!server.startsWith(u'/') || QFileInfo::exists(server)) return true;
    }
    return false;
}

// A sound server's socket or an ALSA playback device. Without any, mpv would
// try each of its outputs before falling back to none, which delays the
// first picture by a few tenths of a second.
bool SoundOutputExists() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (PulseServerNamed()) return true;
    if (!runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
                               QFileInfo::exists(runtime + QStringLiteral("/pipewire-0"))))
        return true;
    return !QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*p")}, QDir::System).isEmpty();
}

void Require(int code, const QByteArray& what) {
    if (code < 0) throw vb::VbError(vb::ErrNum::CantCreateObject, MpvReason(what, code));
}

QByteArray Decimal(double value) { return QByteArray::number(value, 'f', 6); }

}  // namespace

MpvOptions ProgramMpvOptions() { return kProgramOptions; }

MpvCore::MpvCore(MpvOptions options, bool headless, bool hardwareDecoding) {
    // mpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) throw vb::VbError(vb::ErrNum::CantCreateObject, QStringLiteral("libmpv could not be created"));
    const auto option = [this](const char* name, const char* value) {
        Require(mpv_set_option_string(mpv_, name, value), QByteArray("libmpv option ") + name + "=" + value);
    };
    try {
        option("vo", headless ? "null" : "libmpv");
        audible_ = !headless && SoundOutputExists();
        if (!audible_) option("ao", "null");
        // auto-safe takes only the decoders mpv knows to work (VA-API, VDPAU,
        // NVDEC, ...) and falls back to software without a word where none
        // is: libmpv prints nothing, and its log is not asked for.
        option("hwdec", hardwareDecoding ? "auto-safe" : "no");
        for (const auto& [name, value] : options) option(name, value);
        Require(mpv_initialize(mpv_), "libmpv initialise");
        for (const auto& [name, format] : {std::pair{"duration", MPV_FORMAT_DOUBLE}, {"eof-reached", MPV_FORMAT_FLAG},
                                           {"time-pos", MPV_FORMAT_DOUBLE}, {"video-out-params", MPV_FORMAT_NODE},
                                           {"hwdec-current", MPV_FORMAT_STRING}, {"frame-drop-count", MPV_FORMAT_INT64},
                                           {"decoder-frame-drop-count", MPV_FORMAT_INT64}})
            Require(mpv_observe_property(mpv_, 0, name, format), QByteArray("libmpv observe ") + name);
    } catch (...) {
        mpv_terminate_destroy(mpv_);
        throw;
    }
}

void MpvCore::Listen(void (*wakeup)(void*), void* context) { mpv_set_wakeup_callback(mpv_, wakeup, context); }

MpvCore::~MpvCore() {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
}

uint64_t MpvCore::Ask(const QByteArray& what) {
    asked_[++lastTag_] = what;
    return lastTag_;
}

QString MpvCore::Answer(uint64_t tag, int code) {
    if (code >= 0) return {};
    const QByteArray what = asked_[tag];
    asked_.erase(tag);
    return MpvReason(what, code);
}

QString MpvCore::Set(const char* name, const QByteArray& value) {
    const char* text = value.constData();
    const uint64_t tag = Ask(QByteArray("set ") + name + "=" + value);
    return Answer(tag, mpv_set_property_async(mpv_, tag, name, MPV_FORMAT_STRING, &text));
}

QString MpvCore::Command(const char** words) {
    QByteArrayList what;
    for (const char** word = words; *word; ++word) what << *word;
    const uint64_t tag = Ask(what.join(' '));
    return Answer(tag, mpv_command_async(mpv_, tag, words));
}

// The playlist entry a loadfile command answered with; -1 without one.
static int64_t EntryOf(const mpv_node& result) {
    if (result.format != MPV_FORMAT_NODE_MAP) return -1;
    for (int i = 0; i < result.u.list->num; ++i) {
        if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0) return result.u.list->values[i].u.int64;
    }
    return -1;
}

QSize DisplaySize(const mpv_node& params) {
    if (params.format != MPV_FORMAT_NODE_MAP) return {};
    int64_t width = 0, height = 0;
    for (int i = 0; i < params.u.list->num; ++i) {
        const mpv_node& value = params.u.list->values[i];
        if (value.format != MPV_FORMAT_INT64) continue;
        if (qstrcmp(params.u.list->keys[i], "dw") == 0) width = value.u.int64;
        if (qstrcmp(params.u.list->keys[i], "dh") == 0) height = value.u.int64;
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

// What is known of a clip starts again; url empty: no clip.
void MpvCore::Forget(const QString& file, double at) {
    url = file;
    start = at;
    entry = -1;
    position = at;
    if (loadTag_) asked_.erase(std::exchange(loadTag_, 0));  // its reply, if any, is of no clip now
    started = loaded = restarted = shown = false;
    durationTag_ = tracksTag_ = 0;
    duration = 0;
    size = {};
}

void MpvCore::Load(const QString& file, double at, const QByteArray& end) {
    Forget(file, at);
    Set("pause", "yes");
    Set("start", Decimal(at));
    Set("end", end);
    LoadFile(file.toUtf8());
}

void MpvCore::LoadCdTrack(const QString& source, const QString& device, int track, bool last) {
    Forget(source, 0);
    Set("pause", "yes");
    Set("cdrom-device", QFile::encodeName(device));
    Set("start", "#" + QByteArray::number(track));
    Set("end", last ? QByteArray("none") : "#" + QByteArray::number(track + 1));
    LoadFile("cdda://");
}

void MpvCore::LoadFile(const QByteArray& file) {
    const char* command[] = {"loadfile", file.constData(), nullptr};
    loadTag_ = Ask("loadfile " + file);
    if (mpv_command_async(mpv_, loadTag_, command) < 0) {
        asked_.erase(std::exchange(loadTag_, 0));
        url.clear();
    }
}

void MpvCore::Stop() {
    Forget({}, 0);
    const char* command[] = {"stop", nullptr};
    Command(command);
}

QString MpvCore::TakeReply(const mpv_event& reply) {
    const auto asked = asked_.find(reply.reply_userdata);
    if (asked == asked_.end()) return {};
    const QByteArray what = asked->second;
    asked_.erase(asked);
    if (reply.reply_userdata == loadTag_) {
        loadTag_ = 0;
        if (reply.error < 0) url.clear();
        else entry = EntryOf(static_cast<const mpv_event_command*>(reply.data)->result);
    }
    return reply.error < 0 ? MpvReason(what, reply.error) : QString();
}

const mpv_event& MpvCore::NextEvent() { return *mpv_wait_event(mpv_, 0); }

void MpvCore::AskFacts() {
    durationTag_ = ++lastTag_;
    tracksTag_ = ++lastTag_;
    mpv_get_property_async(mpv_, durationTag_, "duration", MPV_FORMAT_DOUBLE);
    mpv_get_property_async(mpv_, tracksTag_, "track-list", MPV_FORMAT_NODE);
}

// The first video track's size in a "track-list" value; empty without one.
static QSize DemuxedVideoSize(const mpv_node& tracks) {
    if (tracks.format != MPV_FORMAT_NODE_ARRAY) return {};
    for (int i = 0; i < tracks.u.list->num; ++i) {
        const mpv_node& track = tracks.u.list->values[i];
        if (track.format != MPV_FORMAT_NODE_MAP) continue;
        bool video = false;
        int64_t width = 0, height = 0;
        for (int k = 0; k < track.u.list->num; ++k) {
            const char* key = track.u.list->keys[k];
            const mpv_node& value = track.u.list->values[k];
            if (qstrcmp(key, "type") == 0 && value.format == MPV_FORMAT_STRING) video = qstrcmp(value.u.string, "video") == 0;
            if (qstrcmp(key, "demux-w") == 0 && value.format == MPV_FORMAT_INT64) width = value.u.int64;
            if (qstrcmp(key, "demux-h") == 0 && value.format == MPV_FORMAT_INT64) height = value.u.int64;
        }
        if (video) return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return {};
}

bool MpvCore::TakeFact(const mpv_event& reply) {
    const auto* property = static_cast<const mpv_event_property*>(reply.data);
    const bool known = reply.error >= 0 && property && property->format != MPV_FORMAT_NONE;
    if (reply.reply_userdata == durationTag_ && durationTag_) {
        durationTag_ = 0;
        if (known) duration = *static_cast<const double*>(property->data);
    } else if (reply.reply_userdata == tracksTag_ && tracksTag_) {
        tracksTag_ = 0;
        size = known ? DemuxedVideoSize(*static_cast<const mpv_node*>(property->data)) : QSize();
    } else {
        return false;  // of a clip given up since
    }
    return durationTag_ == 0 && tracksTag_ == 0;
}

}  // namespace platform::media
