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
#include <span>
#include <utility>

struct mpv_handle;
struct mpv_event;

namespace platform::media {

using MpvOptions = std::span<const std::pair<const char*, const char*>>;

// The options every player of the program starts with.
MpvOptions ProgramMpvOptions();

class MpvCore {
public:
    // Raises vb::VbError 429 (a component that cannot be created), with mpv's
    // reason, when mpv cannot be created or refuses an option. Headless: no
    // picture and no sound. Without headless the picture needs a renderer
    // (MpvVideoWindow) before a clip is loaded.
    MpvCore(MpvOptions options, bool headless);
    ~MpvCore();
    MpvCore(const MpvCore&) = delete;
    MpvCore& operator=(const MpvCore&) = delete;

    mpv_handle* Handle() const { return mpv_; }
    void Listen(void (*wakeup)(void* context), void* context);

    // mpv's result code (below 0: refused).
    int Set(const char* name, const QByteArray& value);
    int SetDouble(const char* name, double value);
    int Command(const char** words);
    // A property mpv has not got at the moment leaves value as it was and
    // gives false.
    bool GetDouble(const char* name, double& value) const;
    bool GetInt(const char* name, int64_t& value) const;

    // Loads url paused at start seconds and to end (seconds or "none");
    // mpv's result code. The clip's facts below start again.
    int Load(const QString& url, double start, const QByteArray& end);
    int Stop();
    // The same without waiting for mpv, which may be busy with a clip that
    // is no longer shown: what comes of the load comes as events, its reply
    // among them (TakeLoadReply). A refused load leaves url empty.
    void LoadLater(const QString& url, double start, const QByteArray& end);
    void StopLater();
    void SetLater(const char* name, const QByteArray& value);
    // The reply to a loadfile command: the clip's playlist entry, or its
    // failure, when it answers the last LoadLater.
    void TakeLoadReply(const mpv_event& reply);
    // The next waiting event; MPV_EVENT_NONE when there is none.
    const mpv_event& NextEvent();
    // The clip's size as its container gives it, known before any picture
    // is decoded; empty without video.
    QSize DemuxedVideoSize() const;

    // What is known of the loaded clip, kept up by the owner from the events.
    QString url;
    double start = 0;      // seconds it was loaded at
    int64_t entry = -1;    // mpv's playlist entry of the clip
    bool started = false;  // mpv's events now concern this clip
    bool loaded = false;   // opened and ready to play
    bool shown = false;    // its first picture (or, without one, its sound) is ready
    double duration = 0;
    QSize size;

    uint64_t loadTag = 0;  // the reply awaited for the last LoadLater; 0: none

private:
    void Forget(const QString& file, double at);

    mpv_handle* mpv_ = nullptr;
    uint64_t lastTag_ = 0;
};

}  // namespace platform::media
