#include "platform/media/MpvCore.h"

#include <mpv/client.h>

#include <QDir>
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

MpvCore::MpvCore(MpvOptions options, bool headless) {
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
        for (const auto& [name, value] : options) option(name, value);
        Require(mpv_initialize(mpv_), "libmpv initialise");
        for (const auto& [name, format] : {std::pair{"duration", MPV_FORMAT_DOUBLE}, {"eof-reached", MPV_FORMAT_FLAG},
                                           {"time-pos", MPV_FORMAT_DOUBLE}, {"video-out-params", MPV_FORMAT_NODE}})
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

bool MpvCore::GetDouble(const char* name, double& value) const {
    double got = 0;
    if (mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &got) < 0) return false;
    value = got;
    return true;
}

bool MpvCore::GetInt(const char* name, int64_t& value) const {
    int64_t got = 0;
    if (mpv_get_property(mpv_, name, MPV_FORMAT_INT64, &got) < 0) return false;
    value = got;
    return true;
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
    started = loaded = shown = false;
    duration = 0;
    size = {};
}

void MpvCore::Load(const QString& file, double at, const QByteArray& end) {
    Forget(file, at);
    Set("pause", "yes");
    Set("start", Decimal(at));
    Set("end", end);
    const QByteArray bytes = file.toUtf8();
    const char* command[] = {"loadfile", bytes.constData(), nullptr};
    loadTag_ = Ask("loadfile " + bytes);
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

QSize MpvCore::DemuxedVideoSize() const {
    int64_t tracks = 0;
    GetInt("track-list/count", tracks);
    for (int64_t i = 0; i < tracks; ++i) {
        const QByteArray prefix = "track-list/" + QByteArray::number(static_cast<qlonglong>(i)) + "/";
        char* type = mpv_get_property_string(mpv_, (prefix + "type").constData());
        const bool video = type && qstrcmp(type, "video") == 0;
        mpv_free(type);
        if (!video) continue;
        int64_t width = 0, height = 0;
        GetInt((prefix + "demux-w").constData(), width);
        GetInt((prefix + "demux-h").constData(), height);
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return {};
}

}  // namespace platform::media
