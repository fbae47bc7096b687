#pragma once
// A picture file decoded for the screen, frame after frame: a still has one
// frame, an animated GIF, WebP or PNG many, and after its last frame the
// first comes again. The reader is the one ReadPictureHeader chose, so a
// file the collection maker took as a picture is one drawn here.
//
// Threads: one at a time (the GUI thread in the show). Decodes on the
// calling thread: a frame of an animation at the time it is due.

#include <QImage>
#include <QString>
#include <memory>

namespace platform::media {

class PictureFrames {
public:
    PictureFrames();
    ~PictureFrames();
    PictureFrames(const PictureFrames&) = delete;
    PictureFrames& operator=(const PictureFrames&) = delete;

    // Reads the header and decodes the first frame; false, with reason(),
    // when the file is no picture this system draws or is broken.
    bool Open(const QString& path);
    const QImage& First() const { return first_; }  // pixels as shown (rotation applied)
    int FirstDelayMs() const { return firstDelayMs_; }
    bool Moves() const { return moves_; }
    // The frame after the one given last (the first after the last frame)
    // and how long it stays, in ms; a null image on failure, with reason().
    QImage Next(int* delayMs);
    QString reason() const { return reason_; }

private:
    struct Source;
    QImage Read(int* delayMs);
    std::unique_ptr<Source> source_;
    QImage first_;
    int firstDelayMs_ = 0;
    bool moves_ = false;
    QString reason_;
};

}  // namespace platform::media
