#pragma once
// VB's PictureBox as the program uses it: a borderless box showing a
// picture from its top-left corner, cut at the box's edges, raising Click
// and MouseMove (positions in twips). Unlike a label it is a window of its
// own, so it lies above the labels of its container.

#include <QPixmap>
#include <QWidget>
#include <functional>

#include "platform/ui/ControlEvents.h"

namespace platform {

class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent);

    void LetPicture(const QPixmap& picture);

    std::function<void()> Click;
    MouseHandler MouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace platform
