#!/bin/bash
# The time from starting the show to its first frame on a headless sway
# (software drawing, one output of 800x600), against bare mpv on the same
# sway (--vo=wlshm and --vo=gpu) and the show on Xvfb (bench/first-frame.sh's
# probe). On sway the centre pixel is read with grim in a loop, so those
# figures carry grim's own time per look (printed as "probe step"); the X
# probe reads about every millisecond.
#
#   bench/first-frame-wayland.sh [starts of each] [build folder]   (defaults: 5, build)
#
# Run as root (sway, the programs and grim run as nobody) or as an ordinary
# user. Take figures on a quiet machine only. Needs sway, grim, setpriv,
# Xvfb, ffmpeg and mpv. Ends only the processes it started, by their ids.
set -euo pipefail

starts=${1:-5}
build=$(cd "${2:-build}" && pwd)
colour=c02020

source "$(dirname "$0")/common.sh"

one_clip_collection "$build" "$colour"
cp "$build/bin/ZORScr" "$work/"
runtime="$work/runtime"
mkdir -m 0700 "$runtime"
# Mesa keeps compiled shaders in the user's cache folder, found from the
# password file's home (nobody has none) unless XDG_CACHE_HOME names one:
# each side gets a folder of its own, warmed by one untimed start.
mkdir "$work/cache" "$work/xcache"
printf 'output HEADLESS-1 resolution 800x600\nxwayland disable\n' >"$runtime/sway.conf"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$work"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

sway=""
trap '[ -n "$sway" ] && kill "$sway" 2>/dev/null; finish' EXIT
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" sway -D noscanout -c "$runtime/sway.conf" >"$work/sway.log" 2>&1 &
sway=$!
for ((i = 0; i < 100; i++)); do
    socket=$(ls "$runtime" | grep -E '^wayland-[0-9]+$' || true)
    [ -n "$socket" ] && break
    sleep 0.1
done
[ -n "$socket" ] || { echo "sway did not start"; cat "$work/sway.log"; exit 1; }

# env, then setpriv, replace themselves: a program started with it in the background has $! as its id
on_sway=(env -u DISPLAY -u QT_QPA_PLATFORM HOME="$work" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" "${as_user[@]}")
near() { local d=$(($1 - $2)); ((d < 0)) && d=$((-d)); ((d <= 40)); }
centre_is_colour() {
    local rgb
    rgb=($("${on_sway[@]}" grim -g "400,300 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tu1))
    [ ${#rgb[@]} -eq 3 ] || return 1
    near "${rgb[0]}" $((16#${colour:0:2})) && near "${rgb[1]}" $((16#${colour:2:2})) && near "${rgb[2]}" $((16#${colour:4:2}))
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# first_frame_sway program [arguments...]: milliseconds, or "none" after 20 s
first_frame_sway() {
    local start pid result=none
    start=$(now_ms)
    "${on_sway[@]}" "$@" >/dev/null 2>&1 &
    pid=$!
    while (($(now_ms) - start < 20000)); do
        if centre_is_colour; then result=$(($(now_ms) - start)); break; fi
    done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    sleep 0.5  # its window is gone before the next start
    echo "$result"
}

step_start=$(now_ms)
for ((i = 0; i < 10; i++)); do centre_is_colour || true; done
echo "probe step: $((($(now_ms) - step_start) / 10)) ms per look"

ours=() wlshm=() gpu=() x11=()
start_display 800x600
for ((i = 0; i <= starts; i++)); do
    ours+=("$(first_frame_sway "$work/ZORScr" "$ini")")
    wlshm+=("$(first_frame_sway mpv --no-config --really-quiet --fs --vo=wlshm "$work/clip.mp4")")
    gpu+=("$(first_frame_sway mpv --no-config --really-quiet --fs --vo=gpu --gpu-context=wayland "$work/clip.mp4")")
    x11+=("$(env -u WAYLAND_DISPLAY XDG_CACHE_HOME="$work/xcache" "$build/bin/FirstFrameProbe" 400 300 "$colour" "$build/bin/ZORScr" "$ini")")
    if ((i == 0)); then
        echo "warm-up (not counted): ZORScr on sway ${ours[0]} ms, mpv gpu ${gpu[0]} ms, ZORScr on Xvfb ${x11[0]} ms"
        ours=() wlshm=() gpu=() x11=()
        continue
    fi
    echo "start $i: ZORScr on sway ${ours[-1]} ms, mpv wlshm ${wlshm[-1]} ms, mpv gpu ${gpu[-1]} ms, ZORScr on Xvfb ${x11[-1]} ms"
done
echo "median of $starts starts: ZORScr on sway $(median "${ours[@]}") ms, mpv --vo=wlshm $(median "${wlshm[@]}") ms," \
    "mpv --vo=gpu $(median "${gpu[@]}") ms, ZORScr on Xvfb $(median "${x11[@]}") ms"
