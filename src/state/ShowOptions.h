#pragma once
// How the show runs beyond what its collection says, as the command line
// chose (startup/ShowSwitches): the same in every run mode, the idle mode's
// shows and the host modes included. Without a switch each keeps its
// default, and the show is as its collection has it.
//
// Set once by the start-up before the show begins (SetShowOptions); read
// by the show and handed to the player; GUI thread.

namespace state {

struct ShowOptions {
    bool shuffle = false;  // --shuffle: each round in a fresh random order
    bool resume = false;   // --resume: start where the last show of the collection ended
    bool fill = false;     // --fill: full-screen pictures cover the screen, cropped
    bool hardwareDecoding = true;  // --no-hwdec turns it off
    enum class OnBattery { Play, Still, Black };
    OnBattery onBattery = OnBattery::Play;  // --on-battery
    // --monitors: the primary monitor alone (the others black), every
    // monitor its own entry, or the primary's picture on every monitor.
    enum class Monitors { Primary, Each, Mirror };
    Monitors monitors = Monitors::Primary;
    int crossfadeMs = 0;  // --crossfade: milliseconds one entry fades into the next; 0 cuts
};

const ShowOptions& TheShowOptions();
void SetShowOptions(const ShowOptions& options);

}  // namespace state
