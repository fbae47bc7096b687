#pragma once
// Two pictures on one window during a crossfade, each mpv's or a still:
// mpv's is rendered into a texture of the window's size only when it has a
// new frame, a still is loaded once, and the window is composed from the
// two in one pass (the outgoing one mixed over the incoming one with its
// opacity). So a paint costs one textured quad, and mpv renders each clip
// no more often than it would alone. GUI thread, with the window's OpenGL context current for every
// call, Release included.

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QOpenGLFramebufferObject;
class QOpenGLShaderProgram;
struct mpv_render_context;

namespace platform::media {

class PictureBlend {
public:
    enum Layer { kIncoming, kOutgoing };
    PictureBlend();
    ~PictureBlend();
    // Renders picture into layer when fresh (a new frame), or when the layer
    // holds nothing at this size yet. Empty, or why it cannot (the reason
    // worded for the error log).
    QString Render(Layer layer, mpv_render_context* picture, QSize pixels, bool fresh);
    // Gives layer a fixed picture (a still), scaled to pixels, when it holds
    // nothing at this size yet; none: black.
    QString Load(Layer layer, const QImage& still, QSize pixels);
    // Draws the outgoing layer with opacity (0..1) over the incoming one,
    // into the framebuffer target of that size.
    QString Compose(unsigned target, QSize pixels, double opacity);
    // Frees the textures and the program (the fade is over).
    void Release();

private:
    std::unique_ptr<QOpenGLFramebufferObject> layers_[2];
    std::unique_ptr<QOpenGLShaderProgram> program_;
};

}  // namespace platform::media
