#!/bin/bash
# Memory over many changes from a web page to a clip: a collection of a page
# (shown until "Continue Show" is pressed) and a one-second clip, on a
# virtual display of its own. The script presses the button each time the
# page is up and samples the resident memory of the program with its helper
# processes at the page, before the first change, after the first 20 and
# every 20 after that. At the end it compares the last level with the one
# after 20 changes.
#
#   bench/web-to-clip.sh [changes] [build folder]      (defaults: 300, build)
#
# Needs Xvfb, xdotool and ffmpeg (scripts/install-deps.sh installs them).
# Ends only the processes it started, by their process ids.
set -euo pipefail

changes=${1:-300}
build=$(cd "${2:-build}" && pwd)
settle=20     # changes before the level that later samples are held to
title="Bench Page"
button_x=484  # "Continue Show", in pixels from the page window's corner
button_y=20

source "$(dirname "$0")/common.sh"

clip short.mp4 0xC02020 1
echo "<html><head><title>$title</title></head><body style=\"background:#20c040\"><h1>A page</h1></body></html>" \
    > "$work/page.html"
ini="$work/Bench.ini"
"$build/bin/ZORCollect" new "$ini" --runas SCREENSAVER_NOMOUSEMOVE --page-delay 0 \
    --error-log "$work/Bench.log" >/dev/null
"$build/bin/ZORCollect" add "$ini" "file://$work/page.html" "$work/short.mp4" >/dev/null

start_show "$build" "$ini"

page_window() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true; }

# The page window, once it is shown with its page loaded (its title is the
# page's then); at most 60 s.
wait_for_page() {
    local id tries
    for ((tries = 0; tries < 600; ++tries)); do
        id=$(page_window)
        [ -n "$id" ] && { echo "$id"; return; }
        alive_or_fail "while a page was awaited"
        sleep 0.1
    done
    echo "no page after 60 s" >&2
    exit 1
}

# Presses "Continue Show" until the window has gone: the window is mapped
# before it is drawn, and a press that comes before the page is lost.
continue_show() {
    local id=$1 x y presses tries
    eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y)=')"
    for ((presses = 0; presses < 30; ++presses)); do
        xdotool mousemove $((X + button_x)) $((Y + button_y)) click 1
        for ((tries = 0; tries < 10; ++tries)); do
            [ -z "$(page_window)" ] && return
            sleep 0.1
        done
        alive_or_fail "while Continue Show was pressed"
    done
    echo "the page stayed after $presses presses" >&2
    exit 1
}

printf "%7s %9s %10s %10s %8s %8s\n" changes memory_MB program_MB helpers_MB helpers seconds
start=$(date +%s)
declare -A mem
for ((done_ = 0; ; ++done_)); do
    id=$(wait_for_page)
    if ((done_ == 0 || done_ % settle == 0 || done_ == changes)); then
        mem[$done_]=$(( $(rss_kb) / 1024 ))
        own=$(( $(awk '/^VmRSS:/ {print $2}' /proc/"$show"/status) / 1024 ))
        printf "%7d %9d %10d %10d %8d %8d\n" "$done_" "${mem[$done_]}" "$own" $((mem[$done_] - own)) \
            "$(descendants "$show" | wc -l)" $(($(date +%s) - start))
    fi
    ((done_ == changes)) && break
    continue_show "$id"
done

echo
echo "memory before: ${mem[0]} MB; after $settle changes: ${mem[$settle]:-?} MB; after $changes: ${mem[$changes]} MB"
[ -n "${mem[$settle]:-}" ] && echo "growth after the first $settle changes:" \
    "$(awk -v a="${mem[$settle]}" -v b="${mem[$changes]}" 'BEGIN {printf "%+.1f%%", 100 * (b - a) / a}')"
echo "error log lines: $(cat "$work/Bench.log" 2>/dev/null | wc -l)"
