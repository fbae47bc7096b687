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

source "$(dirname "$0")/common.sh"

clip red.mp4 0xC02020 4
clip green.mp4 0x20A040 4
ffmpeg -loglevel error -y -f lavfi -i "color=c=0x2040C0:size=800x600" -frames:v 1 "$work/still.png"
echo '<html><body style="background:#e0c040"><h1>A page of the show</h1></body></html>' > "$work/page.html"
cp "$work/red.mp4" "$work/broken.mp4"

ini="$work/Soak.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --still-delay 5 --page-delay 5 \
    --error-log "$work/Soak.log" >/dev/null
"$build/bin/ZORCollect" add "$ini" "$work/red.mp4" "$work/still.png" "file://$work/page.html" \
    "$work/green.mp4" "$work/broken.mp4" >/dev/null
head -c 4096 /dev/urandom > "$work/broken.mp4"  # made a clip in the collection, then spoilt

start_show "$build" "$ini"
cpu_s() { awk -v tck="$(getconf CLK_TCK)" '{printf "%.1f", ($14 + $15) / tck}' /proc/"$show"/stat; }

printf "%6s %9s %8s %5s %8s %9s\n" seconds memory_MB cpu_s fds threads children
start=$(date +%s)
declare -a mem fds threads children
at_settle=-1
for ((t = 0; t <= minutes * 60; t += interval)); do
    sleep $((start + t - $(date +%s) > 0 ? start + t - $(date +%s) : 0))
    alive_or_fail "after $t s"
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
echo "error log lines: $( { wc -l < "$work/Soak.log"; } 2>/dev/null || echo 0)"
