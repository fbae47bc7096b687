#!/usr/bin/env bash
# Builds the program, generates the demo collection in build/demo and runs
# the show on it. Keys and clicks end the show (mouse movement does not, in
# the demo's run mode). Without a display the show runs on a virtual one for
# 30 seconds and a screenshot is left in build/demo/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bash scripts/make-demo.sh build/demo
collection="$PWD/build/demo/ZORDemo.INI"

if [ -n "${DISPLAY:-}" ]; then
  echo "Running: build/bin/ZORScr $collection"
  build/bin/ZORScr "$collection"
else
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x720x24 -nolisten tcp 2>/dev/null)
  xvfb=$!  # the server itself: the substitution execs it
  read -r number <&3
  export DISPLAY=":$number"
  echo "No display: showing the demo on the virtual display $DISPLAY for 30 seconds."
  build/bin/ZORScr "$collection" &
  show=$!
  sleep 15
  import -window root build/demo/screenshot.png && echo "Screenshot: build/demo/screenshot.png"
  sleep 15
  kill "$show" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
fi
if [ -f build/demo/ZORError.Log ]; then
  echo "Error log (build/demo/ZORError.Log):"
  tr '\r' '\n' < build/demo/ZORError.Log
fi
