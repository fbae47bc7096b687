#include "platform/media/PictureMirror.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace platform::media {
namespace {

std::vector<PictureMirror*> mirrors;
QPointer<QWindow> lastSource;  // asked to draw again when a mirror comes into view

// The copy of the last picture: a texture behind a framebuffer, in the
// player's context (made again with a new context or size).
struct Copy {
    QOpenGLContext* context = nullptr;
    int generation = 0;    // of the player's context, counted: a mirror's context shares this one's objects
    std::unique_ptr<QOpenGLFramebufferObject> picture;
    QRect place;           // where the player's window lay on its monitor
    QSize monitor;         // that monitor's size
    bool fresh = false;    // copied and not drawn yet
} copy;

// Drops the copy of a context that is gone or replaced.
void ForgetCopy() {
    const int generation = copy.generation + 1;
    copy = Copy{};
    copy.generation = generation;
}

bool Prepare(QOpenGLContext& context, QSize size) {
    if (copy.context != &context) {
        ForgetCopy();
        copy.context = &context;
        QObject::connect(&context, &QOpenGLContext::aboutToBeDestroyed, [&context] {
            if (copy.context == &context) ForgetCopy();
        });
    }
    if (copy.picture && copy.picture->size() == size) return copy.picture->isValid();
    copy.picture = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::NoAttachment,
                                                              GL_TEXTURE_2D, GL_RGBA8);
    return copy.picture->isValid();
}

// The mirror's size in device pixels (a monitor's pixel ratio may differ
// from the player's).
QSize Pixels(const PictureMirror& mirror) { return mirror.size() * mirror.devicePixelRatio(); }

// Where the player's window lay on its monitor, in the mirror's pixels, in
// OpenGL's rows (bottom up).
QRect Place(const PictureMirror& mirror) {
    const QSize pixels = Pixels(mirror);
    const double sx = double(pixels.width()) / copy.monitor.width(), sy = double(pixels.height()) / copy.monitor.height();
    const QRect place(int(copy.place.x() * sx), int(copy.place.y() * sy), int(copy.place.width() * sx),
                      int(copy.place.height() * sy));
    return {place.x(), pixels.height() - place.bottom() - 1, place.width(), place.height()};
}

}  // namespace

PictureMirror::PictureMirror() {
    setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();  // as the player's window
    format.setSwapInterval(0);  // one wait for the screen's refresh per picture is the player's
    setFormat(format);
    setFlag(Qt::WindowTransparentForInput);
    setFlag(Qt::WindowDoesNotAcceptFocus);
    setTitle(QStringLiteral("video"));
    mirrors.push_back(this);
}

PictureMirror::~PictureMirror() { std::erase(mirrors, this); }

void PictureMirror::exposeEvent(QExposeEvent*) {
    if (isExposed() && lastSource) lastSource->requestUpdate();
}

// A context of its own, sharing the player's texture: one context drawing
// in turn into several windows had the software renderer make each
// window's shared-memory image anew at every switch, a quarter of the
// processor time of the show.
void PictureMirror::Draw(QOpenGLContext& player) {
    if (!context_ || generation_ != copy.generation) {
        context_ = std::make_unique<QOpenGLContext>();
        context_->setFormat(player.format());
        context_->setShareContext(&player);
        generation_ = copy.generation;
        framebuffer_ = attached_ = 0;
        if (!context_->create()) return;
    }
    if (!isExposed() || !context_->makeCurrent(this)) return;
    QOpenGLExtraFunctions& gl = *context_->extraFunctions();
    if (!framebuffer_) gl.glGenFramebuffers(1, &framebuffer_);
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    const GLuint texture = copy.picture->texture();
    const QSize size = copy.picture->size();
    if (std::exchange(attached_, texture) != texture || attachedSize_ != size)
        gl.glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    attachedSize_ = size;
    const QRect place = Place(*this);
    gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, context_->defaultFramebufferObject());
    if (place != QRect(QPoint(), Pixels(*this))) {  // black around the picture
        gl.glClearColor(0, 0, 0, 1);
        gl.glClear(GL_COLOR_BUFFER_BIT);
    }
    const bool scaled = place.size() != size;
    gl.glBlitFramebuffer(0, 0, size.width(), size.height(), place.left(), place.top(), place.right() + 1,
                         place.bottom() + 1, GL_COLOR_BUFFER_BIT, scaled ? GL_LINEAR : GL_NEAREST);
    context_->swapBuffers(this);
    context_->doneCurrent();
}

QWidget* NewPictureMirrorWidget(PictureMirror* mirror) {
    QWidget* container = QWidget::createWindowContainer(mirror);
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
    return container;
}

void CopyForMirrors(QOpenGLContext& context, QWindow& source) {
    if (mirrors.empty()) return;
    lastSource = &source;
    QOpenGLExtraFunctions& gl = *context.extraFunctions();
    const QSize size = source.size() * source.devicePixelRatio();
    copy.fresh = !size.isEmpty() && Prepare(context, size);
    if (!copy.fresh) return;
    const QRect monitor = source.screen() ? source.screen()->geometry() : QRect(QPoint(), source.size());
    copy.place = QRect(source.mapToGlobal(QPoint()) - monitor.topLeft(), source.size());
    copy.monitor = monitor.size();
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, context.defaultFramebufferObject());
    gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, copy.picture->handle());
    gl.glBlitFramebuffer(0, 0, size.width(), size.height(), 0, 0, size.width(), size.height(), GL_COLOR_BUFFER_BIT,
                         GL_NEAREST);
    gl.glFlush();  // the mirrors' contexts read the texture next
}

void DrawMirrors(QOpenGLContext& context) {
    if (!std::exchange(copy.fresh, false)) return;
    for (PictureMirror* mirror : mirrors) mirror->Draw(context);
}

}  // namespace platform::media
