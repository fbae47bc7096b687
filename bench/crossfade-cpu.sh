#!/bin/bash
# Processor time of ZORScr during a crossfade of two 1080p clips (H.264, 30
# frames a second, with sound) against the steady state of one clip, and the
# frames of the outgoing clip that mpv dropped during the fade (its output's
# frame-drop-count and its decoder's decoder-frame-drop-count, from the
# ZORSCR_PLAYER_TIMING trace). The first clip's entry ends at 8 s by its loop
# end, so the clip plays on under the fade. Steady state: 3 s to 7 s of the
# first clip (the second one prepared beside it, as in any show). User plus
# system seconds per second, the median of ROUNDS shows, each on a
# 1920 x 1080 virtual display. For scale, each round also gives the frames
# bare mpv drops playing the second clip alone for 4 s on the same display
# (a machine too busy for one 1080p clip drops frames under a fade too).
#
#   bench/crossfade-cpu.sh [rounds] [fade ms] [build folder] [size]
#                                       (defaults: 3, 2000, build, 1920x1080: clips and display)
#
# Ends only the processes it started, by their ids.
set -euo pipefail

rounds=${1:-3}
fade=${2:-2000}
build=$(cd "${3:-build}" && pwd)
size=${4:-1920x1080}
source "$(dirname "$0")/common.sh"
ticks=$(getconf CLK_TCK)

for source in testsrc2 testsrc; do
    ffmpeg -loglevel error -y -f lavfi -i "$source=size=$size:rate=30" -f lavfi -i sine=frequency=440 -t 20 \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$work/$source.mp4"
done
ini="$work/hd.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --error-log "$work/hd.log" >/dev/null 2>&1
"$build/bin/ZORCollect" add "$ini" "$work/testsrc2.mp4" --loop-end 8 --full-screen >/dev/null 2>&1
"$build/bin/ZORCollect" add "$ini" "$work/testsrc.mp4" --full-screen >/dev/null 2>&1
start_display "$size"

cpu_ticks() {  # pid: user plus system time so far, in clock ticks
    awk '{ print $14 + $15 }' /proc/"$1"/stat
}

await() {  # text: sleeps until the trace holds it (20 s at most)
    for ((n = 0; n < 2000; n++)); do
        grep -q "$1" "$work/trace.txt" && return 0
        sleep 0.01
    done
    echo "no \"$1\" in the trace"
    cat "$work/trace.txt"
    exit 1
}

steady=() during=() ratios=()
for ((i = 1; i <= rounds; i++)); do
    ZORSCR_PLAYER_TIMING=1 "$build/bin/ZORScr" --crossfade "$fade" "$ini" 2>"$work/trace.txt" &
    show=$!
    sleep 3
    a=$(cpu_ticks "$show")
    sleep 4
    b=$(cpu_ticks "$show")
    await "crossfade $fade ms"
    c=$(cpu_ticks "$show")
    sleep "$(awk -v f="$fade" 'BEGIN { print f / 1000 }')"
    d=$(cpu_ticks "$show")
    await "crossfade over"
    kill "$show" && wait "$show" 2>/dev/null || true
    show=""
    steady+=("$(awk -v a="$a" -v b="$b" -v t="$ticks" 'BEGIN { printf "%.3f", (b - a) / t / 4 }')")
    during+=("$(awk -v c="$c" -v d="$d" -v t="$ticks" -v f="$fade" 'BEGIN { printf "%.3f", (d - c) / t / (f / 1000) }')")
    ratios+=("$(awk -v s="${steady[-1]}" -v d="${during[-1]}" 'BEGIN { printf "%.2f", d / s }')")
    bare=$(mpv --no-config --vo=gpu --gpu-api=opengl --gpu-context=x11egl --fs --hwdec=no --length=4 \
        --term-status-msg='bare mpv drops ${frame-drop-count}' "$work/testsrc.mp4" 2>&1 | tr '\r' '\n' |
        grep -o 'bare mpv drops [0-9]*' | tail -1 || true)
    echo "round $i: steady ${steady[-1]} s/s, during the fade ${during[-1]} s/s (${ratios[-1]}x);" \
         "outgoing clip's drops: $(grep -o 'crossfade over.*' "$work/trace.txt"); $bare in 4 s"
done
echo "medians of $rounds: steady $(median "${steady[@]}") s/s, during the fade $(median "${during[@]}") s/s," \
     "ratio $(median "${ratios[@]}")"
