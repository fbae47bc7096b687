#!/bin/bash
# Processor time of 30 s of a 1080p clip (H.264, 30 frames a second) shown
# by ZORScr with hardware decoding asked for (its default, hwdec=auto-safe)
# and with --no-hwdec, against bare mpv with --hwdec=auto-safe and
# --hwdec=no and the same kind of video output (OpenGL on X11), each on a
# virtual display of its own; user plus system seconds, the median of
# ROUNDS rounds, each round running the four in turn.
#
#   bench/decode-cpu.sh [rounds] [build folder]      (defaults: 3, build)
#
# Ends only the processes it started, by their ids.
set -euo pipefail

rounds=${1:-3}
build=$(cd "${2:-build}" && pwd)
source "$(dirname "$0")/common.sh"
ticks=$(getconf CLK_TCK)

ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=30" -t 31 -c:v libx264 -preset ultrafast \
    -pix_fmt yuv420p "$work/hd.mp4"
ini="$work/hd.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --error-log "$work/hd.log" >/dev/null
"$build/bin/ZORCollect" add "$ini" "$work/hd.mp4" >/dev/null
start_display

cpu_seconds() {  # pid: user plus system time so far
    awk -v t="$ticks" '{ printf "%.2f", ($14 + $15) / t }' /proc/"$1"/stat
}

zorscr() {  # switches...: 30 s of the show
    ZORSCR_PLAYER_TIMING=1 "$build/bin/ZORScr" "$@" "$ini" 2>>"$work/stderr.txt" &
    show=$!
    sleep 30
    cpu_seconds "$show"
    kill "$show" && wait "$show" 2>/dev/null || true
    show=""
}

mpv_cpu() {  # hwdec: bare mpv playing 30 s
    mpv --no-config --really-quiet --fs --vo=gpu --gpu-api=opengl --gpu-context=x11egl --hwdec="$1" --length=30 \
        "$work/hd.mp4" &
    show=$!
    local cpu=0
    while kill -0 "$show" 2>/dev/null; do
        cpu=$(cpu_seconds "$show" 2>/dev/null || echo "$cpu")
        sleep 0.2
    done
    wait "$show" 2>/dev/null || true
    show=""
    echo "$cpu"
}

ours=() ours_sw=() mpv_hw=() mpv_sw=()
for ((i = 1; i <= rounds; i++)); do
    ours+=("$(zorscr)")
    ours_sw+=("$(zorscr --no-hwdec)")
    mpv_hw+=("$(mpv_cpu auto-safe)")
    mpv_sw+=("$(mpv_cpu no)")
    echo "round $i: ZORScr ${ours[-1]} s, ZORScr --no-hwdec ${ours_sw[-1]} s, mpv --hwdec=auto-safe ${mpv_hw[-1]} s," \
         "mpv --hwdec=no ${mpv_sw[-1]} s"
done
a=$(median "${ours[@]}") b=$(median "${ours_sw[@]}") c=$(median "${mpv_hw[@]}") d=$(median "${mpv_sw[@]}")
echo "medians of $rounds: ZORScr $a s, ZORScr --no-hwdec $b s, mpv --hwdec=auto-safe $c s, mpv --hwdec=no $d s"
awk -v a="$a" -v b="$b" -v c="$c" -v d="$d" \
    'BEGIN { printf "ratios: ZORScr / mpv auto-safe %.2f, ZORScr --no-hwdec / mpv no %.2f\n", a / c, b / d }'
echo "decoders the show used: $(grep -o 'decoder [a-z-]* (hwdec=[a-z-]*)' "$work/stderr.txt" | sort | uniq -c | tr '\n' ';')"
