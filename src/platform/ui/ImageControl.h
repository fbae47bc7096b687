#pragma once
// VB's Image control: shows a picture, scaled to the control's size while
// Stretch is on; with Stretch off the control takes the picture's size. It
// takes its own mouse events, as the lightweight control does, and raises
// its mouse moves. A picture that moves (an animated GIF, WebP or PNG) plays
// its frames in a loop, each decoded on the GUI thread when it is due, until
// another picture is loaded; one that fails mid-way keeps its last frame.

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace platform::media {
class PictureFrames;
}

#include "platform/ui/ControlEvents.h"

namespace platform {

class ImageControl : public QWidget {
public:
    explicit ImageControl(QWidget* parent);
    ~ImageControl() override;

    bool Stretch() const { return stretch_; }
    void LetStretch(bool value);

    // VB's LoadPicture: "" clears the picture; a missing file raises error
    // 53 and a file that holds no picture this system draws error 481, whose
    // description gives the reason. The readers are the collection maker's
    // (platform/media/PictureHeader).
    void LoadPicture(const QString& file);
    bool HasPicture() const { return !picture_.isNull(); }
    QSize PictureSize() const { return picture_.size(); }  // pixels; empty without a picture

    MouseHandler MouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ShowNextFrame();

    QPixmap picture_;
    std::unique_ptr<media::PictureFrames> frames_;  // of a picture that moves
    QTimer frameTimer_;
    bool stretch_ = false;
};

}  // namespace platform
