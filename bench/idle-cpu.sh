#!/bin/bash
# Processor time the idle mode spends waiting: `ZORScr --idle` with an idle
# time longer than the run, on a virtual display of its own, for SECONDS of
# wall time; prints its user and system time from /proc, in all and
# without its first 5 seconds (loading the program and starting to wait).
#
#   bench/idle-cpu.sh [seconds] [build folder]      (defaults: 600, build)
#
# Ends only the processes it started, by their ids.
set -euo pipefail

seconds=${1:-600}
build=$(cd "${2:-build}" && pwd)
source "$(dirname "$0")/common.sh"

start_display 640x480
"$build/bin/ZORScr" --idle $((seconds + 60)) &
show=$!
ticks=$(getconf CLK_TCK)
sleep 5
read -r start_u start_s < <(awk '{ print $14, $15 }' /proc/"$show"/stat)
sleep $((seconds - 5))
read -r utime stime < <(awk '{ print $14, $15 }' /proc/"$show"/stat)
awk -v u="$utime" -v s="$stime" -v u0="$start_u" -v s0="$start_s" -v t="$ticks" -v w="$seconds" \
    'BEGIN { printf "idle mode over %d s: user %.2f s, system %.2f s; after its first 5 s: user %.2f s, system %.2f s\n",
             w, u / t, s / t, (u - u0) / t, (s - s0) / t }'
