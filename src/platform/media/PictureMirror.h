#pragma once
// The player's picture drawn again on other monitors (--monitors mirror)
// from its one render: after the player's window has drawn a picture, its
// framebuffer is copied once into a texture of the same OpenGL context and
// from there scaled into every mirror window (a blit each, no second
// decode or render by mpv). A mirror window covers its monitor and shows
// the player's window where that lies on its own monitor, scaled from that
// monitor's size to its own; the rest is black. It takes no input (the
// window under it does). GUI thread.

#include <QWindow>

class QOpenGLContext;
class QWidget;

namespace platform::media {

class PictureMirror : public QWindow {
public:
    PictureMirror();
    ~PictureMirror() override;

protected:
    void exposeEvent(QExposeEvent* event) override;
};

// The mirror wrapped as a widget for a layout; owned by the widget.
QWidget* NewPictureMirrorWidget(PictureMirror* mirror);

// Called by the player's window with context current on it, after it drew
// a picture and before it shows it (a back buffer is not kept once another
// window's is drawn): the picture is copied. Nothing is done while no mirror
// exists.
void CopyForMirrors(QOpenGLContext& context, QWindow& source);
// Then, after it has shown it: the copy is drawn into every mirror; the
// context is left current on one of them or on none.
void DrawMirrors(QOpenGLContext& context);

}  // namespace platform::media
