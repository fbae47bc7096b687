#include "platform/media/PictureBlend.h"

#include <mpv/render_gl.h>

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>

#include "platform/media/MpvVideoWidget.h"

namespace platform::media {
namespace {

// Desktop OpenGL and OpenGL ES alike: Qt defines the precision words away
// on desktop OpenGL.
constexpr char kVertexShader[] = R"(
attribute highp vec2 corner;
varying highp vec2 place;
void main() {
    place = corner * 0.5 + 0.5;
    gl_Position = vec4(corner, 0.0, 1.0);
})";
// One pass: the outgoing picture mixed over the incoming one.
constexpr char kFragmentShader[] = R"(
varying highp vec2 place;
uniform sampler2D incoming;
uniform sampler2D outgoing;
uniform lowp float opacity;
void main() {
    gl_FragColor = vec4(mix(texture2D(incoming, place).rgb, texture2D(outgoing, place).rgb, opacity), 1.0);
})";
constexpr float kCorners[] = {-1, -1, 1, -1, -1, 1, 1, 1};  // a triangle strip over the whole target

}  // namespace

PictureBlend::PictureBlend() = default;
PictureBlend::~PictureBlend() = default;

QString PictureBlend::Render(Layer layer, mpv_render_context* picture, QSize pixels, bool fresh) {
    std::unique_ptr<QOpenGLFramebufferObject>& texture = layers_[layer];
    if (!texture || texture->size() != pixels) {
        texture = std::make_unique<QOpenGLFramebufferObject>(pixels);
        if (!texture->isValid()) {
            texture.reset();
            return QStringLiteral("OpenGL framebuffer for the crossfade: not made");
        }
        fresh = true;
    }
    if (!fresh) return {};
    mpv_opengl_fbo fbo{static_cast<int>(texture->handle()), pixels.width(), pixels.height(), 0};
    int flip = 1;  // stored the way the window's rows run, so it is drawn as it is
    int block = 0;  // never wait for the picture's due time on the GUI thread
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (const int code = mpv_render_context_render(picture, params); code < 0) return MpvReason("libmpv draw", code);
    return {};
}

QString PictureBlend::Load(Layer layer, const QImage& still, QSize pixels) {
    std::unique_ptr<QOpenGLFramebufferObject>& texture = layers_[layer];
    if (texture && texture->size() == pixels) return {};
    texture = std::make_unique<QOpenGLFramebufferObject>(pixels);
    if (!texture->isValid()) {
        texture.reset();
        return QStringLiteral("OpenGL framebuffer for the crossfade: not made");
    }
    QImage rows(pixels, QImage::Format_RGBA8888);
    rows.fill(Qt::black);
    if (!still.isNull()) rows = still.scaled(pixels).convertToFormat(QImage::Format_RGBA8888);
    rows.mirror();  // OpenGL's rows run bottom up
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glBindTexture(GL_TEXTURE_2D, texture->texture());
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pixels.width(), pixels.height(), GL_RGBA, GL_UNSIGNED_BYTE,
                        rows.constBits());
    return {};
}

QString PictureBlend::Compose(unsigned target, QSize pixels, double opacity) {
    if (!layers_[kIncoming] || !layers_[kOutgoing]) return {};
    if (!program_) {
        program_ = std::make_unique<QOpenGLShaderProgram>();
        if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
            !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) || !program_->link()) {
            const QString reason = QStringLiteral("OpenGL program for the crossfade: ") + program_->log();
            program_.reset();
            return reason;
        }
    }
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    // mpv leaves its own state behind: everything drawing depends on is set.
    gl->glBindFramebuffer(GL_FRAMEBUFFER, target);
    gl->glViewport(0, 0, pixels.width(), pixels.height());
    gl->glDisable(GL_SCISSOR_TEST);
    gl->glDisable(GL_DEPTH_TEST);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl->glDisable(GL_BLEND);
    program_->bind();
    program_->setUniformValue("incoming", 0);
    program_->setUniformValue("outgoing", 1);
    program_->setUniformValue("opacity", static_cast<GLfloat>(opacity));
    for (const Layer layer : {kIncoming, kOutgoing}) {
        gl->glActiveTexture(GL_TEXTURE0 + layer);
        gl->glBindTexture(GL_TEXTURE_2D, layers_[layer]->texture());
    }
    gl->glActiveTexture(GL_TEXTURE0);
    program_->enableAttributeArray("corner");
    program_->setAttributeArray("corner", kCorners, 2);
    gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    program_->disableAttributeArray("corner");
    program_->release();
    return {};
}

void PictureBlend::Release() {
    for (auto& layer : layers_) layer.reset();
    program_.reset();
}

}  // namespace platform::media
