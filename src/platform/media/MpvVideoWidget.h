#pragma once
// The picture of the player, drawn through mpv's OpenGL render API into a
// native OpenGL window of its own, embedded in the player control. mpv draws
// straight into the window's surface: a QOpenGLWidget would draw into a
// texture that Qt then draws again, which costs a software renderer as much
// as the picture itself. The window takes no input: the control under it
// gets the mouse and the keyboard. On X11 the window system passes the
// mouse through; where it gives the window the mouse itself (Qt on Wayland
// sets no empty input region), the window hands each mouse event on to the
// control that hosts it.
//
// Each mpv instance the engine uses gets a renderer of its own in the
// window's context; the window draws the one it shows, so a clip prepared
// in a second instance appears at once when the engine switches to it. mpv
// can only show video while a renderer exists: a clip loaded before had no
// video output, and one without a sound track nothing to play. So the
// context is the window's own, made at the first Add on an offscreen
// surface, not at the window's first paint (which may come only once a
// clip is ready), and every renderer exists from Add on. The window tells
// its owner when an instance's renderer comes, goes, or cannot be made (as
// gone, after rendererFailed); on the GUI thread, from Add, Show and the
// destructor.

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPointer>
#include <QElapsedTimer>
#include <QImage>
#include <QWindow>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

#include "platform/media/PictureBlend.h"

class QMouseEvent;
class QWidget;
struct mpv_handle;
struct mpv_render_context;

namespace platform::media {

class MpvVideoWindow : public QWindow {
public:
    MpvVideoWindow(std::function<void(mpv_handle*, bool available)> rendererChanged,
                   std::function<void(const QString& reason)> rendererFailed);
    ~MpvVideoWindow() override;

    // Gives mpv a renderer, now when the window has its context, else when
    // it gets one.
    void Add(mpv_handle* mpv);
    // Draws mpv's pictures from now on (added first when new).
    void Show(mpv_handle* mpv);
    // Another clip was asked for: until PictureIsCurrent, the picture drawn
    // is still the old clip's, and it is not drawn at another size (the
    // control may take the new clip's size before the clip has a picture);
    // the window stays black there instead. mpv's news of a frame cannot
    // tell: it also asks for the old picture to be drawn again.
    void Outdate();
    // The clip asked for has its first picture ready (mpv's playback restart).
    void PictureIsCurrent();
    // One side of a crossfade: the pictures of an instance added before,
    // or a fixed picture of the window's size (a still).
    struct FadePicture {
        mpv_handle* mpv = nullptr;
        QImage still;
    };
    // A crossfade: until EndFade outgoing is drawn over incoming with the
    // opacity 1 - share(). Each new picture of either goes into a texture
    // when it comes; the window is drawn at each new picture of the
    // instance shown, and at FadeMoved when none came for 40 ms.
    void Fade(FadePicture incoming, FadePicture outgoing, std::function<double()> share);
    // The share moved on (the owner's steps of the fade).
    void FadeMoved();
    void EndFade();

protected:
    void exposeEvent(QExposeEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend QWidget* NewMpvVideoWidget(MpvVideoWindow* window);
    void PassMouse(const QMouseEvent& event) const;
    struct Renderer {
        MpvVideoWindow* window;
        mpv_handle* mpv;
        mpv_render_context* context = nullptr;
        bool frameWaiting = false;  // a new picture came while hidden
    };
    // The context current on the window (to draw) or on its offscreen
    // surface; false when there is none.
    bool MakeCurrent(bool onWindow);
    void Paint();
    void Draw();
    void DrawFade();
    // Renders a fade's picture into its texture; false when it cannot, and
    // the fade is then left out (reported once).
    bool FillLayer(PictureBlend::Layer layer);
    void DrawFailed(const QString& reason);  // the first failure is reported, not one per frame
    void DrawUnseen(Renderer& renderer);  // with the context current
    void AddRenderer(mpv_handle* mpv);
    void NoRenderer(mpv_handle* mpv, const QString& reason);
    void ReleaseRenderers();
    Renderer* Find(mpv_handle* mpv);
    // mpv has news for its renderer: a picture or work its decoder waits for.
    void Updated(mpv_handle* mpv);

    QPointer<QWidget> container_;  // the widget embedding the window; owns it
    std::unique_ptr<QOpenGLContext> context_;  // made at the first Add
    std::unique_ptr<QOffscreenSurface> offscreen_;
    std::vector<mpv_handle*> players_;  // every instance shown so far
    std::vector<std::unique_ptr<Renderer>> renderers_;  // mpv's callbacks hold them
    mpv_handle* shown_ = nullptr;
    bool firstFrameDrawn_ = false;  // of the instance shown, since Show
    bool outdated_ = false;         // the picture is of a clip no longer asked for
    QSize outdatedSize_;            // where it was drawn
    bool drawFailed_ = false;
    bool fading_ = false;
    FadePicture fade_[2];  // by PictureBlend::Layer
    std::function<double()> share_;  // the incoming picture's share in the fade, 0..1
    QElapsedTimer composed_;  // since the fade was last drawn
    PictureBlend blend_;
    std::function<void(mpv_handle*, bool)> rendererChanged_;
    std::function<void(const QString&)> rendererFailed_;
};

// "what: mpv's text for code": how every failure of mpv is worded.
QString MpvReason(const QByteArray& what, int code);

// The window wrapped as a widget for the control's layout; window receives
// the window itself, owned by the widget.
QWidget* NewMpvVideoWidget(MpvVideoWindow* window);

}  // namespace platform::media
