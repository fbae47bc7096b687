#pragma once
// --monitors each: a monitor other than the primary one plays the
// collection itself, each side show with a player of its own, stepping on
// at its own ends of entries (a clip's end, the still delay), so it never
// holds up the primary show's loop or the GUI thread. It starts offset
// entries after the primary show's entry, and takes the order the primary
// takes (the next position, or a shuffled order of its own with
// --shuffle), passing over entries another monitor shows at that moment
// while the collection has others, and web pages (the page window is the
// primary monitor's alone). Its clips play without sound, are fitted to the
// monitor (covering it with --fill when marked full screen) and play once
// even when they loop for ever. Input on it acts on the show as on a
// cover. GUI thread; owned by the screen covers.

#include <QTimer>
#include <optional>

#include "show/ShuffledOrder.h"
#include "show/SideCover.h"

namespace platform {
class ImageControl;
}  // namespace platform

namespace show {

class Med_Saver;

class SideShow : public SideCover {
public:
    // offset >= 1: how many entries after the primary show's it begins.
    SideShow(QScreen* screen, int offset);
    ~SideShow() override;

    // A side show showing the primary's entry moves on when it has another to show.
    void PrimaryStarted(int position) override;

private:
    void Begin();
    void Step();
    int Following(int position);
    int Choose(int candidate);
    void Show(int position);
    void ShowClip(int position, bool held);
    void ShowStill(int position);
    void Blank();
    // The player and the still fill the window at its size, again after
    // the monitor changed its resolution.
    void Place();
    void resizeEvent(QResizeEvent* event) override;

    int offset_;
    int position_ = 0;  // the entry shown, 0 for none
    bool playing_ = false;  // the clip set plays once it is open
    std::optional<ShuffledOrder> shuffled_;
    Med_Saver* player_;
    platform::ImageControl* still_;
    QSize stillSize_;  // the still shown at its own size; empty: none
    bool stillCovers_ = false;  // it covers the monitor rather than fitting in
    QTimer next_;  // ends the entry shown
};

}  // namespace show
