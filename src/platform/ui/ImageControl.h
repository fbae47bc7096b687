#pragma once
// VB's Image control: shows a picture, scaled to the control's size while
// Stretch is on; with Stretch off the control takes the picture's size. It
// takes its own mouse events, as the lightweight control does, and raises
// its mouse moves.

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

#include "platform/ui/ControlEvents.h"

namespace platform {

class ImageControl : public QWidget {
public:
    explicit ImageControl(QWidget* parent);

    bool Stretch() const { return stretch_; }
    void LetStretch(bool value);

    // VB's LoadPicture: "" clears the picture; a missing file raises error
    // 53 and a file that holds no picture error 481.
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
    QPixmap picture_;
    bool stretch_ = false;
};

}  // namespace platform
