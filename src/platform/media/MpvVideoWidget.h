#pragma once
// The picture of an mpv player, drawn through mpv's OpenGL render API into a
// native OpenGL window of its own, embedded in the player control. mpv draws
// straight into the window's surface: a QOpenGLWidget would draw into a
// texture that Qt then draws again, which costs a software renderer as much
// as the picture itself. The window takes no input: the control under it
// gets the mouse and the keyboard. mpv can only show video while a renderer
// exists, and the window gets its OpenGL context only once it is shown, so
// it tells its owner when the renderer comes and goes.

#include <QOpenGLWindow>
#include <functional>

class QWidget;
struct mpv_handle;
struct mpv_render_context;

namespace platform::media {

class MpvVideoWindow : public QOpenGLWindow {
public:
    MpvVideoWindow(mpv_handle* mpv, std::function<void(bool available)> rendererChanged,
                   std::function<void(const QString& reason)> rendererFailed);
    ~MpvVideoWindow() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void ReleaseRenderer();

    mpv_handle* mpv_;
    mpv_render_context* renderer_ = nullptr;
    bool drawFailed_ = false;
    std::function<void(bool)> rendererChanged_;
    std::function<void(const QString&)> rendererFailed_;
};

// "what: mpv's text for code": how every failure of mpv is worded.
QString MpvReason(const QByteArray& what, int code);

// The window wrapped as a widget for the control's layout.
QWidget* NewMpvVideoWidget(mpv_handle* mpv, std::function<void(bool available)> rendererChanged,
                           std::function<void(const QString& reason)> rendererFailed);

}  // namespace platform::media
