#pragma once
// --monitors mirror: a monitor other than the primary one shows what the
// primary monitor shows, scaled to its own size: the player's picture from
// the player's one render (platform/media/PictureMirror), a still picture
// loaded again and placed where the primary's is, black for pages (the page
// window is the primary's alone) and between entries. Input on it acts on
// the show as on a cover. GUI thread; owned by the screen covers.

#include "show/SideCover.h"

namespace platform {
class ImageControl;
}  // namespace platform

namespace show {

class MirrorCover : public SideCover {
public:
    explicit MirrorCover(QScreen* screen);
    // Follows the primary once its entry is placed (from the event loop).
    void PrimaryStarted(int position) override;

private:
    void Follow(int position);

    QWidget* picture_;  // the mirror of the player's picture
    platform::ImageControl* still_;
};

}  // namespace show
