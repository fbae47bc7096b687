#!/bin/bash
# Processor time of ZORScr over 20 s of a show of two 1280x720 clips
# (H.264, 30 frames a second) on one monitor, and on two monitors with
# --monitors mirror and --monitors each, on Xorg's dummy driver (RandR
# monitors of 1280 x 720 side by side); user plus system seconds of the
# program (its mpv threads included), the median of ROUNDS rounds, each
# round running the three in turn. Needs Xorg with the dummy driver
# (scripts/install-deps.sh) and root, as the tests do.
#
#   bench/monitors-cpu.sh [rounds] [build folder]      (defaults: 3, build)
#
# Ends only the processes it started, by their ids.
set -euo pipefail

rounds=${1:-3}
build=$(cd "${2:-build}" && pwd)
source "$(dirname "$0")/common.sh"
ticks=$(getconf CLK_TCK)
xorg=""
trap 'finish; [ -n "$xorg" ] && kill "$xorg" 2>/dev/null && wait "$xorg" 2>/dev/null; true' EXIT

ini="$work/two.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --error-log "$work/two.log" >/dev/null
for pattern in testsrc2 smptehdbars; do
    ffmpeg -loglevel error -y -f lavfi -i "$pattern=size=1280x720:rate=30" -t 31 -c:v libx264 -preset ultrafast \
        -pix_fmt yuv420p "$work/$pattern.mp4"
    "$build/bin/ZORCollect" add "$ini" "$work/$pattern.mp4" >/dev/null
done

sed 's/@KIB@/9216/; s/@WIDTH@/2560/; s/@HEIGHT@/720/' "$(dirname "$0")/../tests/support/dummy-xorg.conf" >"$work/xorg.conf"
exec 4< <(Xorg -displayfd 1 -config "$work/xorg.conf" -noreset -nolisten tcp -logfile "$work/xorg.log" 2>/dev/null)
xorg=$!
read -r -u 4 display
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work"
xrandr --newmode m720 74.25 1280 1390 1430 1650 720 725 730 750 2>/dev/null || true
xrandr --addmode DUMMY0 m720 && xrandr --addmode DUMMY1 m720

monitors() {  # 1 or 2
    xrandr --output DUMMY0 --mode m720 --pos 0x0
    if [ "$1" = 2 ]; then xrandr --output DUMMY1 --mode m720 --pos 1280x0; else xrandr --output DUMMY1 --off; fi
    sleep 1
}

cpu() {  # switches...: 20 s of the show, after 3 s of start
    "$build/bin/ZORScr" "$@" "$ini" 2>>"$work/stderr.txt" &
    show=$!
    sleep 3
    local before
    before=$(awk '{ print $14 + $15 }' /proc/"$show"/stat)
    sleep 20
    awk -v t="$ticks" -v b="$before" '{ printf "%.2f", ($14 + $15 - b) / t }' /proc/"$show"/stat
    kill "$show" && wait "$show" 2>/dev/null || true
    show=""
}

one=() mirror=() each=()
for ((i = 1; i <= rounds; i++)); do
    monitors 1
    one+=("$(cpu)")
    monitors 2
    mirror+=("$(cpu --monitors mirror)")
    each+=("$(cpu --monitors each)")
    echo "round $i: one monitor ${one[-1]} s, two mirrored ${mirror[-1]} s, two each ${each[-1]} s"
done
a=$(median "${one[@]}") b=$(median "${mirror[@]}") c=$(median "${each[@]}")
echo "medians of $rounds (20 s each): one monitor $a s, two mirrored $b s, two each $c s"
awk -v a="$a" -v b="$b" -v c="$c" 'BEGIN { printf "ratios to one monitor: mirror %.2f, each %.2f\n", b / a, c / a }'
