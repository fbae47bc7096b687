#!/bin/bash
# Processor time the idle mode spends waiting: `ZORScr --idle` with an idle
# time longer than the run, on a virtual display of its own, for SECONDS of
# wall time; prints its user and system time from /proc.
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
sleep "$seconds"
ticks=$(getconf CLK_TCK)
read -r utime stime < <(awk '{ print $14, $15 }' /proc/"$show"/stat)
awk -v u="$utime" -v s="$stime" -v t="$ticks" -v w="$seconds" \
    'BEGIN { printf "idle mode over %d s of waiting: user %.2f s, system %.2f s\n", w, u / t, s / t }'
