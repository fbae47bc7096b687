#pragma once
// VB's Label control: text on a transparent background (what lies under it
// shows through), with a tooltip, and the mouse events a label raises. A
// disabled label lets the pointer through to what lies under it, as the
// lightweight control does. Positions in the events are twips.

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

#include "platform/ui/ControlEvents.h"

namespace platform {

class LabelControl : public QWidget {
public:
    explicit LabelControl(QWidget* parent);

    QString Caption() const { return caption_; }
    void LetCaption(const QString& text);
    // The control takes the size of its text (VB's AutoSize).
    void LetAutoSize(bool value);
    void LetForeColor(const QColor& colour);
    void LetEnabled(bool value);

    // Raised from the event loop: a left press and release over the label is a Click.
    std::function<void()> Click;
    MouseHandler MouseDown;
    MouseHandler MouseUp;
    MouseHandler MouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FitText();

    QString caption_;
    bool autoSize_ = false;
};

}  // namespace platform
