#include "platform/media/MpvVideoWidget.h"

#include <mpv/render_gl.h>

#include <QCoreApplication>
#include <QExposeEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "platform/media/PictureMirror.h"
#include "platform/media/PlayerTiming.h"
#include "platform/media/WindowSystemDisplay.h"

namespace platform::media {
namespace {

constexpr qint64 kLongestComposeGapMs = 40;  // a fade moves at least 25 times a second

void* ProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

MpvVideoWindow::MpvVideoWindow(std::function<void(mpv_handle*, bool)> rendererChanged,
                               std::function<void(const QString&)> rendererFailed)
    : rendererChanged_(std::move(rendererChanged)),
      rendererFailed_(std::move(rendererFailed)) {
    setSurfaceType(QSurface::OpenGLSurface);
    // Input goes through to the control that hosts the picture.
    setFlag(Qt::WindowTransparentForInput);
    // Qt would name the native window after the application, and window
    // lists and tools looking for "ZORScr" (a message box) would find it.
    setTitle(QStringLiteral("video"));
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

MpvVideoWindow::~MpvVideoWindow() { ReleaseRenderers(); }

bool MpvVideoWindow::MakeCurrent(bool onWindow) {
    if (!context_) {
        context_ = std::make_unique<QOpenGLContext>();
        context_->setFormat(requestedFormat());
        offscreen_ = std::make_unique<QOffscreenSurface>();
        if (context_->create()) {
            offscreen_->setFormat(context_->format());
            offscreen_->create();
        }
    }
    if (!context_->isValid()) return false;
    return onWindow ? context_->makeCurrent(this) : context_->makeCurrent(offscreen_.get());
}

void MpvVideoWindow::Add(mpv_handle* mpv) {
    if (std::find(players_.begin(), players_.end(), mpv) != players_.end()) return;
    players_.push_back(mpv);
    if (!MakeCurrent(false)) return NoRenderer(mpv, QStringLiteral("OpenGL context for the picture: not made"));
    AddRenderer(mpv);
    context_->doneCurrent();
}

void MpvVideoWindow::Show(mpv_handle* mpv) {
    Add(mpv);
    shown_ = mpv;
    firstFrameDrawn_ = false;
    requestUpdate();
}

void MpvVideoWindow::Outdate() {
    if (outdated_) return;  // still the picture of the clip before
    outdated_ = true;
    outdatedSize_ = size();
}

void MpvVideoWindow::PictureIsCurrent() {
    if (std::exchange(outdated_, false)) requestUpdate();  // the window may be black at the new size
}

void MpvVideoWindow::Fade(FadePicture incoming, FadePicture outgoing, std::function<double()> share) {
    fading_ = true;
    composed_.invalidate();
    fade_[PictureBlend::kIncoming] = std::move(incoming);
    fade_[PictureBlend::kOutgoing] = std::move(outgoing);
    share_ = std::move(share);
    requestUpdate();
}

// Composing the window costs two full-window textures and a swap: the
// pictures of the clip shown pace it, and a step only when none has come
// for a while (a clip paused, or at its end).
void MpvVideoWindow::FadeMoved() {
    if (!fading_ || !composed_.isValid() || composed_.elapsed() >= kLongestComposeGapMs) requestUpdate();
}

void MpvVideoWindow::EndFade() {
    if (!std::exchange(fading_, false)) return;
    for (FadePicture& picture : fade_) picture = {};
    if (MakeCurrent(false)) {
        blend_.Release();
        context_->doneCurrent();
    }
    requestUpdate();
}

void MpvVideoWindow::exposeEvent(QExposeEvent*) {
    if (isExposed()) Paint();
}

bool MpvVideoWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::UpdateRequest:
        Paint();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        PassMouse(*static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QWindow::event(event);
    }
}

void MpvVideoWindow::PassMouse(const QMouseEvent& event) const {
    QWidget* host = container_ ? container_->parentWidget() : nullptr;
    if (!host) return;
    QMouseEvent passed(event.type(), host->mapFromGlobal(event.globalPosition()), event.globalPosition(),
                       event.button(), event.buttons(), event.modifiers());
    QCoreApplication::sendEvent(host, &passed);
}

// With the context current. mpv is given Qt's X11 or Wayland display, so
// that a hardware decoder's pictures (VA-API, VDPAU) go to OpenGL without a
// copy.
void MpvVideoWindow::AddRenderer(mpv_handle* mpv) {
    mpv_opengl_init_params gl{&ProcAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 WindowSystemDisplay(),
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    auto renderer = std::make_unique<Renderer>(Renderer{this, mpv});
    if (const int code = mpv_render_context_create(&renderer->context, mpv, params); code < 0) {
        return NoRenderer(mpv, MpvReason("libmpv OpenGL renderer", code));
    }
    TimeStep("renderer", params[2].type == MPV_RENDER_PARAM_X11_DISPLAY  ? QStringLiteral("with the X11 display")
                         : params[2].type == MPV_RENDER_PARAM_WL_DISPLAY ? QStringLiteral("with the Wayland display")
                                                                         : QStringLiteral("without a display"));
    // Called on one of mpv's threads: the news is taken in the GUI thread.
    mpv_render_context_set_update_callback(
        renderer->context,
        [](void* context) {
            const auto* r = static_cast<Renderer*>(context);
            QMetaObject::invokeMethod(r->window, [window = r->window, mpv = r->mpv] { window->Updated(mpv); },
                                      Qt::QueuedConnection);
        },
        renderer.get());
    renderers_.push_back(std::move(renderer));
    rendererChanged_(mpv, true);
}

void MpvVideoWindow::NoRenderer(mpv_handle* mpv, const QString& reason) {
    rendererFailed_(reason);
    rendererChanged_(mpv, false);  // the instance plays without a picture
}

MpvVideoWindow::Renderer* MpvVideoWindow::Find(mpv_handle* mpv) {
    for (const auto& renderer : renderers_) {
        if (renderer->mpv == mpv) return renderer.get();
    }
    return nullptr;
}

// The picture shown is drawn again. Any other picture is drawn where
// nobody sees it, at once: mpv holds the clip until its picture has been
// drawn (for as long as 0.2 s), and it is drawn again when shown.
void MpvVideoWindow::Updated(mpv_handle* mpv) {
    Renderer* renderer = Find(mpv);
    if (!renderer) return;
    if (!fading_ && mpv == shown_ && isExposed()) return requestUpdate();
    if (!MakeCurrent(false)) return;
    // In a fade a new picture goes into its texture at once, so mpv never
    // waits for the window; the owner's steps compose the window.
    if (fading_ && (mpv == fade_[0].mpv || mpv == fade_[1].mpv)) {
        FillLayer(mpv == fade_[0].mpv ? PictureBlend::kIncoming : PictureBlend::kOutgoing);
        if (mpv == shown_) requestUpdate();
    } else
        DrawUnseen(*renderer);
    context_->doneCurrent();
}

// The whole window is drawn anew each time, then shown.
void MpvVideoWindow::Paint() {
    if (!isExposed() || !MakeCurrent(true)) return;
    Draw();
    CopyForMirrors(*context_, *this);
    context_->swapBuffers(this);
    DrawMirrors(*context_);
    context_->doneCurrent();
}

// A new picture is counted when it is first seen. One pixel: the picture
// is only taken from mpv here.
void MpvVideoWindow::DrawUnseen(Renderer& renderer) {
    if (!(mpv_render_context_update(renderer.context) & MPV_RENDER_UPDATE_FRAME)) return;
    mpv_opengl_fbo fbo{static_cast<int>(context_->defaultFramebufferObject()), 1, 1, 0};
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(renderer.context, params) < 0 || renderer.frameWaiting) return;
    renderer.frameWaiting = true;
    if (renderer.mpv != shown_) TimeStep("frame ready", QStringLiteral("(prepared)"));
}

void MpvVideoWindow::Draw() {
    QOpenGLFunctions* gl = context_->functions();
    gl->glClearColor(0, 0, 0, 1);
    if (fading_) return DrawFade();
    Renderer* renderer = Find(shown_);
    if (!renderer) return gl->glClear(GL_COLOR_BUFFER_BIT);
    const bool newFrame = (mpv_render_context_update(renderer->context) & MPV_RENDER_UPDATE_FRAME) ||
                          std::exchange(renderer->frameWaiting, false);
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(context_->defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1;  // OpenGL's rows run bottom up
    // A picture is drawn when mpv sends it: waiting here for its due time
    // would hold up the whole GUI thread.
    int block = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    // A frame that cannot be drawn leaves the last one; the first such
    // failure is reported, not one per frame. Drawn even when it is covered
    // below: mpv counts a clip's first picture as shown only once it has
    // been drawn, and holds the clip's start (and its playback restart)
    // until then, for as long as 0.2 s.
    if (const int code = mpv_render_context_render(renderer->context, params); code < 0)
        DrawFailed(MpvReason("libmpv draw", code));
    if (outdated_ && size() != outdatedSize_) {
        renderer->frameWaiting = newFrame;  // counted when it is first seen
        TimeStep("old picture kept off a new size", QStringLiteral("%1x%2").arg(width()).arg(height()));
        return gl->glClear(GL_COLOR_BUFFER_BIT);
    }
    if (newFrame && !firstFrameDrawn_) {
        firstFrameDrawn_ = true;
        TimeStep("first frame drawn");
    }
}

// With the context current. The first picture of the instance shown counts
// as drawn when it is first rendered.
bool MpvVideoWindow::FillLayer(PictureBlend::Layer layer) {
    const QSize pixels = size() * devicePixelRatio();
    QString failed;
    if (Renderer* renderer = Find(fade_[layer].mpv)) {
        const bool fresh = (mpv_render_context_update(renderer->context) & MPV_RENDER_UPDATE_FRAME) ||
                           std::exchange(renderer->frameWaiting, false);
        failed = blend_.Render(layer, renderer->context, pixels, fresh);
        if (fresh && renderer->mpv == shown_ && !std::exchange(firstFrameDrawn_, true)) TimeStep("first frame drawn");
    } else {
        failed = blend_.Load(layer, fade_[layer].still, pixels);
    }
    if (failed.isEmpty()) return true;
    // Reported once and left out: the picture shown is drawn alone, and the change is a cut.
    DrawFailed(failed);
    blend_.Release();
    fading_ = false;
    requestUpdate();
    return false;
}

// The two textures composed; each picture of an instance was rendered into
// its texture when it came (Updated).
void MpvVideoWindow::DrawFade() {
    for (const PictureBlend::Layer layer : {PictureBlend::kIncoming, PictureBlend::kOutgoing})
        if (!FillLayer(layer)) return Draw();
    composed_.start();
    const QString failed = blend_.Compose(context_->defaultFramebufferObject(), size() * devicePixelRatio(), 1.0 - share_());
    if (!failed.isEmpty()) DrawFailed(failed);
}

void MpvVideoWindow::DrawFailed(const QString& reason) {
    if (!std::exchange(drawFailed_, true)) rendererFailed_(reason);
}

void MpvVideoWindow::ReleaseRenderers() {
    if (renderers_.empty() || !MakeCurrent(false)) return;
    blend_.Release();
    for (const auto& renderer : renderers_) mpv_render_context_free(renderer->context);  // mpv drops its video output
    context_->doneCurrent();
    const auto released = std::exchange(renderers_, {});
    for (const auto& renderer : released) rendererChanged_(renderer->mpv, false);
}

QString MpvReason(const QByteArray& what, int code) {
    return QString::fromUtf8(what) + QStringLiteral(": ") + QString::fromUtf8(mpv_error_string(code));
}

QWidget* NewMpvVideoWidget(MpvVideoWindow* window) {
    QWidget* container = QWidget::createWindowContainer(window);
    window->container_ = container;
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
    return container;
}

}  // namespace platform::media
