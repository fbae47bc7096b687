#pragma once
// One instance of mpv with the program's options, and what is known of the
// clip loaded into it. The engine plays through one core and prepares the
// next clip in a second one.
//
// Events: the wakeup given to Listen is called on one of mpv's threads
// whenever events wait (at once when some already do); the owner then reads
// them with NextEvent on the GUI thread.

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <map>
#include <span>
#include <utility>

struct mpv_handle;
struct mpv_event;
struct mpv_node;

namespace platform::media {

using MpvOptions = std::span<const std::pair<const char*, const char*>>;

// The options every player of the program starts with.
MpvOptions ProgramMpvOptions();

class MpvCore {
public:
    // Raises vb::VbError 429 (a component that cannot be created), with mpv's
    // reason, when mpv cannot be created or refuses an option. Headless: no
    // picture and no sound. Without headless the picture needs a renderer
    // (MpvVideoWindow) before a clip is loaded. hardwareDecoding: mpv's
    // hwdec=auto-safe, else software decoding only.
    MpvCore(MpvOptions options, bool headless, bool hardwareDecoding);
    ~MpvCore();
    MpvCore(const MpvCore&) = delete;
    MpvCore& operator=(const MpvCore&) = delete;

    mpv_handle* Handle() const { return mpv_; }
    // False when it plays without sound: headless, or no sound output.
    bool Audible() const { return audible_; }
    void Listen(void (*wakeup)(void* context), void* context);

    // Requests never wait for mpv: the GUI thread draws mpv's pictures, and
    // mpv's core may itself wait for a picture to be drawn (for as long as
    // 0.2 s) before it takes a request, so a waiting request held both.
    // mpv takes a client's requests in the order given. A request refused
    // at once gives the refusal, worded as MpvReason (empty when taken); a
    // later refusal comes back as a reply event, for TakeReply.
    QString Set(const char* name, const QByteArray& value);
    QString Command(const char** words);  // words end with nullptr
    // Loads url paused at start seconds and to end (seconds or "none"); the
    // clip's facts below start again, and what comes of the load comes as
    // events, its reply among them. A load refused at once leaves url empty.
    void Load(const QString& url, double start, const QByteArray& end);
    // Loads track of the disc in device as url, paused, to the track's end:
    // mpv reads a disc as one stream whose chapters are its tracks, so
    // positions count from the disc's start.
    void LoadCdTrack(const QString& url, const QString& device, int track, bool last);
    void Stop();
    // A reply event: mpv's refusal of a request, worded as MpvReason; empty
    // when the request was done, or was a load given up since. The reply to
    // the last load gives the clip's playlist entry, or on refusal empties url.
    QString TakeReply(const mpv_event& reply);
    // Asks for the loaded clip's duration and its size as its container
    // gives it (known before any picture is decoded), without waiting.
    void AskFacts();
    // A reply to a property asked for: the fact is kept (duration, size;
    // a size is empty without video). True once every fact asked has come.
    bool TakeFact(const mpv_event& reply);
    // The next waiting event; MPV_EVENT_NONE when there is none.
    const mpv_event& NextEvent();

    // What is known of the loaded clip, kept up by the owner from the events.
    QString url;
    double start = 0;      // seconds it was loaded at
    int64_t entry = -1;    // mpv's playlist entry of the clip
    bool started = false;  // mpv's events now concern this clip
    bool loaded = false;   // opened, its facts read: ready to play
    bool restarted = false;  // mpv has said it is ready to play
    bool shown = false;    // its first picture (or, without one, its sound) is ready
    double duration = 0;
    QSize size;
    double position = 0;   // seconds played, as mpv last told (or as last sought)

private:
    void Forget(const QString& file, double at);
    void LoadFile(const QByteArray& file);
    uint64_t Ask(const QByteArray& what);  // a tag for a request's reply
    QString Answer(uint64_t tag, int code);  // a request's code at once

    mpv_handle* mpv_ = nullptr;
    bool audible_ = false;
    uint64_t lastTag_ = 0;
    uint64_t loadTag_ = 0;  // the reply awaited for the last load; 0: none
    uint64_t durationTag_ = 0, tracksTag_ = 0;  // the facts awaited; 0: none
    std::map<uint64_t, QByteArray> asked_;  // requests awaiting their reply: what each was
};

// The size a picture is shown at, from the value of mpv's
// "video-out-params"; empty without one.
QSize DisplaySize(const mpv_node& params);

}  // namespace platform::media
