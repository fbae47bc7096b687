#include "platform/media/MpvVideoWidget.h"

#include <mpv/render_gl.h>

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace platform::media {
namespace {

void* ProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Called on one of mpv's threads: the repaint is queued into the GUI thread.
void FrameReady(void* widget) {
    QMetaObject::invokeMethod(static_cast<QWidget*>(widget), "update", Qt::QueuedConnection);
}

}  // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, std::function<void(bool)> rendererChanged)
    : mpv_(mpv), rendererChanged_(std::move(rendererChanged)) {
    // Input goes to the control that hosts the picture.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

MpvVideoWidget::~MpvVideoWidget() { ReleaseRenderer(); }

void MpvVideoWidget::initializeGL() {
    // The context is replaced when the widget moves to another window.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWidget::ReleaseRenderer,
            Qt::DirectConnection);
    mpv_opengl_init_params gl{&ProcAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&renderer_, mpv_, params) < 0) {
        renderer_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(renderer_, &FrameReady, this);
    rendererChanged_(true);
}

void MpvVideoWidget::paintGL() {
    if (!renderer_) {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1;  // OpenGL's rows run bottom up
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(renderer_, params);
}

void MpvVideoWidget::ReleaseRenderer() {
    if (!renderer_) return;
    makeCurrent();
    mpv_render_context_free(renderer_);  // mpv drops its video output with it
    renderer_ = nullptr;
    doneCurrent();
    rendererChanged_(false);
}

}  // namespace platform::media
