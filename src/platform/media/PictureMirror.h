#pragma once
// The player's picture drawn again on other monitors (--monitors mirror)
// from its one render: after the player's window has drawn a picture, its
// framebuffer is copied once into a texture of its OpenGL context and from
// there blitted, scaled, into every mirror window by a context of the
// mirror's own that shares the texture (no second decode or render by mpv). A mirror window covers its monitor and shows
// the player's window where that lies on its own monitor, scaled from that
// monitor's size to its own; the rest is black. It takes no input (the
// window under it does). GUI thread.

#include <QOpenGLContext>
#include <QWindow>
#include <memory>

class QWidget;

namespace platform::media {

class PictureMirror : public QWindow {
public:
    PictureMirror();
    ~PictureMirror() override;

    // Draws the player's last picture copied (DrawMirrors).
    void Draw(QOpenGLContext& player);

protected:
    void exposeEvent(QExposeEvent* event) override;

private:
    std::unique_ptr<QOpenGLContext> context_;  // shares the player's
    int generation_ = 0;                       // of the player's context it shares
    GLuint framebuffer_ = 0, attached_ = 0;    // reads the player's texture
    QSize attachedSize_;
};

// The mirror wrapped as a widget for a layout; owned by the widget.
QWidget* NewPictureMirrorWidget(PictureMirror* mirror);

// Called by the player's window with context current on it, after it drew
// a picture and before it shows it (a back buffer is not kept once another
// window's is drawn): the picture is copied. Nothing is done while no mirror
// exists.
void CopyForMirrors(QOpenGLContext& context, QWindow& source);
// Then, after it has shown it: the copy is drawn into every mirror; no
// context is left current.
void DrawMirrors(QOpenGLContext& context);

}  // namespace platform::media
