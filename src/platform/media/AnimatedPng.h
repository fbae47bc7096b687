#pragma once
// Animated PNG (APNG): Qt's PNG reader gives only its default picture, so
// the frames come from FFmpeg's APNG decoder, which composes each frame on
// the whole canvas (blending and disposal done).
//
// Threads: PngFrameCount on any thread; an ApngDecoder on one thread at a time.

#include <QImage>
#include <QString>
#include <memory>

namespace platform::media {

// The frame count an animated PNG's header announces; 0 for a plain PNG or
// anything else. Reads chunk headers only, through fd, which stays open.
quint32 PngFrameCount(int fd);

class ApngDecoder {
public:
    ApngDecoder();
    ~ApngDecoder();
    ApngDecoder(const ApngDecoder&) = delete;
    ApngDecoder& operator=(const ApngDecoder&) = delete;

    // From the first frame on; false with reason() when it cannot be read.
    bool Open(const QString& path);
    // The next frame and how long it stays (ms); a null image after the
    // last frame, or on failure with reason().
    QImage Next(int* delayMs);
    QString reason() const { return reason_; }

private:
    struct State;
    std::unique_ptr<State> state_;
    QString reason_;
};

}  // namespace platform::media
