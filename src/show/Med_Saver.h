#pragma once
// The show window's media player control. It plays one clip at a time with
// the properties the show sets (speed, volume, balance, the part played and
// how often), draws the picture into itself, and reports the end of the
// stream and the mouse and keyboard input it receives. Positions are seconds;
// the host's Left/Top/Width/Height are twips.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

// Whole, not declared only: callers that leave out the engine destroy the
// empty default argument.
#include "platform/media/PlayerEngine.h"

namespace show {

class Med_Saver : public QWidget {
public:
    // DisplaySize values.
    static constexpr qint32 kOwnSize = 0;       // the clip's own size: the control takes it
    static constexpr qint32 kFitToControl = 4;  // the picture fitted into the control
    static constexpr qint32 kPreviewSize = 5;   // set by the preview before 4; fits as 4 does
    static constexpr qint32 kCoverControl = 6;  // the picture covers the control, cropped, centred

    // Without an engine the program's own (libmpv) is used.
    explicit Med_Saver(QWidget* parent, std::unique_ptr<platform::media::PlayerEngine> engine = {});
    ~Med_Saver() override;

    // "" closes the clip; anything else opens it (and plays it when AutoStart).
    QString FileName() const;
    void LetFileName(const QString& value);
    void Play();
    void Pause();
    // Readies the clip the show will most likely open next (a file, from
    // start seconds), so that setting it as FileName then shows it at once.
    void Prepare(const QString& fileName, double start);
    // With a crossfade (--crossfade): the clip just set fades in over a
    // picture of the control's size (the still before it).
    void FadeInOver(const QImage& before);
    // With a crossfade: the clip playing fades out over a picture of the
    // control's size (the still after it), then the control hides; FileName
    // is "" at once. Without one it closes and hides at once.
    void FadeOutOver(const QImage& after);

    double CurrentPosition() const;
    void LetCurrentPosition(double seconds);
    double Duration() const;
    double SelectionStart() const;
    void LetSelectionStart(double seconds);
    double SelectionEnd() const;
    void LetSelectionEnd(double seconds);
    double Rate() const;
    void LetRate(double factor);

    // Hundredths of a decibel: 0 loudest, -10000 silent.
    qint32 Volume() const;
    void LetVolume(qint32 value);
    // -10000..10000: a positive value attenuates the left channel by
    // value/100 dB, a negative one the right.
    qint32 Balance() const;
    void LetBalance(qint32 value);
    bool Mute() const;
    void LetMute(bool value);

    // Plays of the selected part before the end of the stream; 0: without end.
    qint32 PlayCount() const;
    void LetPlayCount(qint32 value);
    bool AutoStart() const;
    void LetAutoStart(bool value);
    bool AutoRewind() const;
    void LetAutoRewind(bool value);
    qint32 DisplaySize() const;
    void LetDisplaySize(qint32 value);
    qint32 DisplayMode() const;
    void LetDisplayMode(qint32 value);
    bool AddressMode() const;
    void LetAddressMode(bool value);
    bool ReadyToPlay() const;
    // Why the last clip could not play, or why the engine last refused a
    // command; empty until something failed.
    QString ErrorDescription() const;
    // Whether the clip now set could not be opened or played.
    bool Failed() const;

    // The host's placement, in twips.
    float Left() const;
    void LetLeft(float twips);
    float Top() const;
    void LetTop(float twips);
    float Width() const;
    void LetWidth(float twips);
    float Height() const;
    void LetHeight(float twips);
    bool Visible() const;
    void LetVisible(bool value);

    // Events; the show window sets them. They are raised from the event loop.
    // A clip the player cannot open or play ends as an end of stream does,
    // with result 1.
    std::function<void(qint32 result)> EndOfStream;
    std::function<void()> Error;  // the engine refused a command (ErrorDescription)
    std::function<void()> Opened;  // the clip set can play now (ReadyToPlay)
    std::function<void(int button, int shift, float x, float y)> Click;  // at a press; once for a double click
    std::function<void(int button, int shift, float x, float y)> MouseMove;
    std::function<void(int keyAscii)> KeyPress;
    // At the own size, the control took a new size from its open clip after
    // DisplaySize stopped waiting for it: a clip that gave its size late (a
    // slow stream), or whose size changed while it plays.
    std::function<void()> OwnSizeChanged;

private:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool TakeClipSize();  // true when the size changed
    void FollowClipSize();
    void AwaitOpening();
    void OnEndOfFile(bool failed, const QString& reason);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace show
