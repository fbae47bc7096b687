#!/bin/bash
# The time from starting the program to its first frame, as a user starts it:
# a new process each time, with a collection of one clip named on the command
# line, on a virtual display of 800x600 of its own. Bare mpv is started on the
# same clip on the same display in turn with it, the same number of times.
# build/bin/FirstFrameProbe starts each and polls one pixel of the screen
# about every millisecond until the clip's colour is there. Prints every
# start and the two medians.
#
#   bench/first-frame.sh [starts of each] [build folder]      (defaults: 6, build)
#
# Take figures on a quiet machine only: a build or a test sharing the
# processors delays both programs' start-up by hundreds of milliseconds, and
# not by the same amount.
# Needs Xvfb, ffmpeg and mpv. Ends only the processes it started, by their ids.
set -euo pipefail

starts=${1:-6}
build=$(cd "${2:-build}" && pwd)
colour=c02020

source "$(dirname "$0")/common.sh"

one_clip_collection "$build" "$colour"

start_display 800x600

first_frame() { "$build/bin/FirstFrameProbe" 400 300 "$colour" "$@"; }

ours=()
theirs=()
for ((i = 1; i <= starts; i++)); do
    ours+=("$(first_frame "$build/bin/ZORScr" "$ini")")
    theirs+=("$(first_frame mpv --no-config --really-quiet --fs --vo=gpu --gpu-context=x11egl "$work/clip.mp4")")
    echo "start $i: ZORScr ${ours[-1]} ms, bare mpv ${theirs[-1]} ms"
done
echo "first frame, median of $starts starts: ZORScr $(median "${ours[@]}") ms, bare mpv $(median "${theirs[@]}") ms"
