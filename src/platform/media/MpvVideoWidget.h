#pragma once
// The picture of an mpv player, drawn through mpv's OpenGL render API into a
// Qt OpenGL widget. mpv can only show video while a renderer exists, and the
// widget gets its OpenGL context only once it is shown, so it tells its owner
// when the renderer comes and goes.

#include <QOpenGLWidget>
#include <functional>

struct mpv_handle;
struct mpv_render_context;

namespace platform::media {

class MpvVideoWidget : public QOpenGLWidget {
public:
    MpvVideoWidget(mpv_handle* mpv, std::function<void(bool available)> rendererChanged);
    ~MpvVideoWidget() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void ReleaseRenderer();

    mpv_handle* mpv_;
    mpv_render_context* renderer_ = nullptr;
    std::function<void(bool)> rendererChanged_;
};

}  // namespace platform::media
