#pragma once
// The show's side of --crossfade where a still picture takes part: what the
// screen shows of the entry before, taken before the next entry replaces
// it, and the fade into the next entry. Between two clips the player fades
// by itself (src/platform/media/README.md); web pages cut.

#include <QImage>

namespace show {

class frmCover;

// The entry on the show window before the next one starts.
struct Outgoing {
    bool clip = false;  // a clip's picture, which fades out in the player itself
    QImage still;       // the still shown, as the whole window shows it; null: none
};

// Null members (and nothing to fade) without --crossfade.
Outgoing TakeOutgoing(frmCover& cover);

// A still was just shown on cover: it fades in over what was there before.
void FadeIntoStill(frmCover& cover, const Outgoing& before);

// A clip was just set in the player, placed: it fades in over the still before.
void FadeIntoClip(frmCover& cover, const Outgoing& before);

}  // namespace show
