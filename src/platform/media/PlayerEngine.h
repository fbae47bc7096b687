#pragma once
// The media engine behind the show's player control: opens one clip at a
// time and plays a part of it a number of times, in units of its own
// (seconds, linear amplitudes); the control turns its callers' units into
// these. libmpv in the program, a scripted fake in unit tests.
//
// Callbacks: every one is raised on the GUI thread from the event loop,
// never from inside a call to the engine, so a caller is not re-entered. A
// handler may destroy the engine; the engine touches nothing of itself after
// such a callback returns.

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <utility>

class QWidget;

namespace platform::media {

class PlayerEngine {
public:
    virtual ~PlayerEngine() = default;

    // The widget the picture is drawn in, or nullptr when the engine shows
    // none. The engine owns it; the control puts it into itself.
    virtual QWidget* View() = 0;

    // Opens a clip paused. Ready follows once it can play, or EndOfFile(true)
    // when it cannot be opened, which includes a clip that has shown nothing
    // within its bound (OpeningBound in MediaSource.h). Opening takes effect
    // when control returns to the event loop, so settings made right after
    // it apply to the clip.
    virtual void Open(const QString& url) = 0;
    // Opens url paused at start seconds beside the clip playing, so that a
    // later Open of the same url shows its first picture at once; any other
    // Open, a Close or another Prepare drops it. Raises no callback: a clip
    // that cannot be prepared fails, if at all, when it is opened. At most
    // one clip is prepared at a time. The clip open itself is not prepared:
    // its next Open plays it again from the start. Asked for while the clip
    // open has shown nothing yet, the preparation begins once it has.
    virtual void Prepare(const QString& url, double start) = 0;
    virtual void Close() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;

    // Seconds. Before the clip is ready a seek sets where it will start.
    virtual double Position() const = 0;
    virtual void Seek(double seconds) = 0;
    virtual double Duration() const = 0;  // 0 while unknown
    virtual bool IsReady() const = 0;
    virtual QSize VideoSize() const = 0;  // empty while unknown or without picture

    virtual void SetSpeed(double factor) = 0;              // 0.01 to 100
    virtual void SetVolume(double amplitude) = 0;          // 0 silent to 1 full
    virtual void SetChannelGains(double left, double right) = 0;  // 0 to 1 each
    virtual void SetMute(bool mute) = 0;
    // true: the picture covers the view, its proportions kept, the excess
    // cut off equally on both sides; false: it fits inside the view.
    virtual void SetCover(bool cover) = 0;
    // The part that plays; an end not after the start means the clip's end.
    virtual void SetPart(double start, double end) = 0;
    // Plays of the part before the end of the file; 0: without end.
    virtual void SetPlayCount(int plays) = 0;
    // Milliseconds a clip opened after a prepared one fades in over the
    // clip before it, picture and sound, the one before playing on till the
    // fade ends; 0 (the default) cuts. An engine that cannot fade cuts.
    virtual void SetCrossfade(int /*milliseconds*/) {}
    // With a crossfade set: the clip opened (or just opened) fades in over
    // a still picture of the view's size, from its first picture on.
    virtual void FadeInOver(const QImage& /*before*/) {}
    // With a crossfade set: the clip playing fades out over a still
    // picture of the view's size and then closes, reporting nothing more;
    // fadedOut is called at the end (from the event loop, or from the Open
    // or Close that cuts the fade short). Without one it closes at once.
    virtual void FadeOutOver(const QImage& /*after*/, std::function<void()> fadedOut) {
        Close();
        fadedOut();
    }

    std::function<void()> Ready;
    std::function<void(QSize pixels)> VideoSizeChanged;
    // The last play of the part is over (failed false, reason empty), or the
    // clip could not be opened or played (failed true, with the reason).
    std::function<void(bool failed, const QString& reason)> EndOfFile;
    // A command or setting the engine refused while it plays (a seek, the
    // balance filter, the picture's renderer), with the reason; playback
    // goes on as it can.
    std::function<void(const QString& reason)> Error;
};

// libmpv. Raises vb::VbError 429 (a component that cannot be created), with
// mpv's reason, when mpv cannot be created or refuses an option at its
// start. The second instance that prepares clips is made at the first
// Prepare; when it cannot be made, Error says so once and every clip opens
// afresh in the one instance. With the environment variable
// ZORSCR_MPV_HEADLESS=1 it neither shows a picture nor plays sound (vo=null,
// ao=null) and View() is nullptr: for tests and machines without a display
// or sound device. ZORSCR_FAIL_SECOND_PLAYER=1 makes the second instance
// fail to be made: how a test shows the show going on with one.
// hardwareDecoding: mpv's hwdec=auto-safe (a hardware decoder where the
// machine offers one that is known to work, software otherwise), or
// software decoding only.
std::unique_ptr<PlayerEngine> NewMpvEngine(bool hardwareDecoding);

// The same with options of the caller's in place of the program's own
// table (name, value): how a test shows that a rejected option is caught.
std::unique_ptr<PlayerEngine> NewMpvEngine(std::span<const std::pair<const char*, const char*>> options,
                                           bool hardwareDecoding);

}  // namespace platform::media
