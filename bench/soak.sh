#!/bin/bash
# Staying power: shows a mixed collection (two clips, a still, a web page and
# a file the player cannot open) for a number of minutes on a virtual display
# of its own and samples, every 30 seconds, the program's resident memory
# (with its helper processes), processor time, open descriptors, threads and
# child processes. At the end it compares each figure with its level after
# five minutes.
#
#   bench/soak.sh [minutes] [build folder]      (defaults: 60, build)
#
# Needs Xvfb and ffmpeg (scripts/install-deps.sh installs them). Ends only
# the processes it started, by their process ids.
set -euo pipefail

minutes=${1:-60}
build=$(cd "${2:-build}" && pwd)
interval=30
settle=${SOAK_SETTLE:-300}  # seconds before the level that later samples are held to

work=$(mktemp -d)
xvfb=""
show=""
finish() {
    [ -n "$show" ] && kill "$show" 2>/dev/null && wait "$show" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

clip() {  # name colour
    ffmpeg -loglevel error -y -f lavfi -i "color=c=$2:size=640x360:rate=25" -f lavfi -i sine=frequency=440 \
        -t 4 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$work/$1"
}
clip red.mp4 0xC02020
clip green.mp4 0x20A040
ffmpeg -loglevel error -y -f lavfi -i "color=c=0x2040C0:size=800x600" -frames:v 1 "$work/still.png"
echo '<html><body style="background:#e0c040"><h1>A page of the show</h1></body></html>' > "$work/page.html"
cp "$work/red.mp4" "$work/broken.mp4"

ini="$work/Soak.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --still-delay 5 --page-delay 5 \
    --error-log "$work/Soak.log" >/dev/null
"$build/bin/ZORCollect" add "$ini" "$work/red.mp4" "$work/still.png" "file://$work/page.html" \
    "$work/green.mp4" "$work/broken.mp4" >/dev/null
head -c 4096 /dev/urandom > "$work/broken.mp4"  # made a clip in the collection, then spoilt

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x720x24 -nolisten tcp 2>/dev/null)
xvfb=$!
read -r -u 3 display
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work"
"$build/bin/ZORScr" "$ini" 2>"$work/stderr.txt" &
show=$!

descendants() {  # pid: its children and theirs
    local child
    for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
        echo "$child"
        descendants "$child"
    done
}
rss_kb() {  # the program and its helpers
    local total=0 pid kb
    for pid in "$show" $(descendants "$show"); do
        kb=$(awk '/^VmRSS:/ {print $2}' /proc/"$pid"/status 2>/dev/null || true)
        total=$((total + ${kb:-0}))
    done
    echo "$total"
}
cpu_s() { awk -v tck="$(getconf CLK_TCK)" '{printf "%.1f", ($14 + $15) / tck}' /proc/"$show"/stat; }

printf "%6s %9s %8s %5s %8s %9s\n" seconds memory_MB cpu_s fds threads children
start=$(date +%s)
declare -a mem fds threads children
at_settle=-1
for ((t = 0; t <= minutes * 60; t += interval)); do
    sleep $((start + t - $(date +%s) > 0 ? start + t - $(date +%s) : 0))
    kill -0 "$show" 2>/dev/null || { echo "the program ended after $t s"; cat "$work/stderr.txt"; exit 1; }
    m=$(( $(rss_kb) / 1024 ))
    f=$(ls /proc/"$show"/fd | wc -l)
    th=$(awk '/^Threads:/ {print $2}' /proc/"$show"/status)
    ch=$(descendants "$show" | wc -l)
    printf "%6d %9d %8s %5d %8d %9d\n" "$t" "$m" "$(cpu_s)" "$f" "$th" "$ch"
    mem+=("$m") fds+=("$f") threads+=("$th") children+=("$ch")
    [ "$at_settle" -lt 0 ] && [ "$t" -ge "$settle" ] && at_settle=$((${#mem[@]} - 1))
done

[ "$at_settle" -lt 0 ] && { echo "shorter than $settle s: no level to compare with"; exit 0; }
max() { printf "%s\n" "$@" | sort -n | tail -1; }
after=("${mem[@]:$at_settle}")
echo
echo "memory at $settle s: ${mem[$at_settle]} MB; highest after it: $(max "${after[@]}") MB" \
     "($(awk -v a="${mem[$at_settle]}" -v b="$(max "${after[@]}")" 'BEGIN {printf "%+.1f%%", 100 * (b - a) / a}'))"
echo "descriptors ${fds[$at_settle]} -> highest $(max "${fds[@]:$at_settle}")," \
     "threads ${threads[$at_settle]} -> $(max "${threads[@]:$at_settle}")," \
     "child processes ${children[$at_settle]} -> $(max "${children[@]:$at_settle}")"
echo "error log lines: $(wc -l < "$work/Soak.log" 2>/dev/null || echo 0)"
