# Helpers the show benchmarks share (sourced, not run): a work folder and a
# virtual display of their own, the program started on a collection, and its
# resident memory with its helper processes. Everything started here is ended
# by its process id when the script exits.

work=$(mktemp -d)
xvfb=""
show=""
finish() {
    [ -n "$show" ] && kill "$show" 2>/dev/null && wait "$show" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

# A 640x360 clip with sound: clip name colour seconds
clip() {
    ffmpeg -loglevel error -y -f lavfi -i "color=c=$2:size=640x360:rate=25" -f lavfi -i sine=frequency=440 \
        -t "$3" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$work/$1"
}

# A collection of one clip of a colour (rrggbb), made with the build's
# ZORCollect, for the first-frame benchmarks; its path goes to $ini:
# one_clip_collection build colour
one_clip_collection() {
    clip clip.mp4 "0x$2" 10
    ini="$work/clip.ini"
    local command
    for command in "new $ini --runas SCREENSAVER_NOMOUSEMOVE --error-log $work/clip.log" "add $ini $work/clip.mp4"; do
        # shellcheck disable=SC2086
        "$1/bin/ZORCollect" $command >"$work/collect.txt" 2>&1 || { cat "$work/collect.txt"; exit 1; }
    done
}

# The median of numbers, "none" left out (all "none": "none"): median n...
median() {
    printf '%s\n' "$@" | grep -v none | sort -n |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "none"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Starts Xvfb; its display becomes DISPLAY: start_display [size, 1280x720]
start_display() {
    exec 3< <(Xvfb -displayfd 1 -screen 0 "${1:-1280x720}x24" -nolisten tcp 2>/dev/null)
    xvfb=$!
    local display
    read -r -u 3 display
    export DISPLAY=":$display" XDG_RUNTIME_DIR="$work"
}

# Starts Xvfb and the program on a collection: start_show build collection
start_show() {
    start_display
    "$1/bin/ZORScr" "$2" 2>"$work/stderr.txt" &
    show=$!
}

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

# Ends the script when the program has ended: alive_or_fail what-was-going-on
alive_or_fail() {
    kill -0 "$show" 2>/dev/null && return 0
    echo "the program ended $1"
    cat "$work/stderr.txt"
    exit 1
}
