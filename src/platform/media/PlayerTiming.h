#pragma once
// A trace of where the time of each change of clip goes, for whoever tunes
// the player: with the environment variable ZORSCR_PLAYER_TIMING=1 every
// step (the open asked for, each renderer made and the display it was given,
// mpv's file, decoder and output events, the decoder in use and the one
// asked for, "decoder no (hwdec=auto-safe)" for software, the first picture
// drawn, the end) is written to standard error as "player timing: +<ms since
// the last open> (<ms since the step before>) <step> [detail]". Off, a step
// costs one test of a flag. GUI thread only.

#include <QString>

namespace platform::media {

// Starts the count of milliseconds again: a new clip was asked for.
void TimeNewClip(const QString& url);
void TimeStep(const char* step, const QString& detail = {});

}  // namespace platform::media
