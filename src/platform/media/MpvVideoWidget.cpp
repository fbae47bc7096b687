#include "platform/media/MpvVideoWidget.h"

#include <mpv/render_gl.h>

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWidget>

namespace platform::media {
namespace {

void* ProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Called on one of mpv's threads: the repaint is queued into the GUI thread.
void FrameReady(void* window) {
    QMetaObject::invokeMethod(static_cast<QOpenGLWindow*>(window), "update", Qt::QueuedConnection);
}

}  // namespace

MpvVideoWindow::MpvVideoWindow(mpv_handle* mpv, std::function<void(bool)> rendererChanged,
                               std::function<void(const QString&)> rendererFailed)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate),
      mpv_(mpv),
      rendererChanged_(std::move(rendererChanged)),
      rendererFailed_(std::move(rendererFailed)) {
    // Input goes through to the control that hosts the picture.
    setFlag(Qt::WindowTransparentForInput);
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

MpvVideoWindow::~MpvVideoWindow() { ReleaseRenderer(); }

void MpvVideoWindow::initializeGL() {
    // The context goes with the window's surface.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWindow::ReleaseRenderer,
            Qt::DirectConnection);
    mpv_opengl_init_params gl{&ProcAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (const int code = mpv_render_context_create(&renderer_, mpv_, params); code < 0) {
        renderer_ = nullptr;
        rendererFailed_(MpvReason("libmpv OpenGL renderer", code));
        return;
    }
    mpv_render_context_set_update_callback(renderer_, &FrameReady, this);
    rendererChanged_(true);
}

void MpvVideoWindow::paintGL() {
    if (!renderer_) {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1;  // OpenGL's rows run bottom up
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    // A frame that cannot be drawn leaves the last one; the first such
    // failure is reported, not one per frame.
    const int code = mpv_render_context_render(renderer_, params);
    if (code < 0 && !drawFailed_) {
        drawFailed_ = true;
        rendererFailed_(MpvReason("libmpv draw", code));
    }
}

void MpvVideoWindow::ReleaseRenderer() {
    if (!renderer_) return;
    makeCurrent();
    mpv_render_context_free(renderer_);  // mpv drops its video output with it
    renderer_ = nullptr;
    doneCurrent();
    rendererChanged_(false);
}

QString MpvReason(const QByteArray& what, int code) {
    return QString::fromUtf8(what) + QStringLiteral(": ") + QString::fromUtf8(mpv_error_string(code));
}

QWidget* NewMpvVideoWidget(mpv_handle* mpv, std::function<void(bool)> rendererChanged,
                           std::function<void(const QString&)> rendererFailed) {
    QWidget* container = QWidget::createWindowContainer(
        new MpvVideoWindow(mpv, std::move(rendererChanged), std::move(rendererFailed)));
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
    return container;
}

}  // namespace platform::media
