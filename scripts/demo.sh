#!/usr/bin/env bash
# Builds the program, generates the demo collection in build/demo and runs
# the show on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bash scripts/make-demo.sh build/demo
echo "Running: build/bin/ZORScr build/demo/ZORDemo.INI"
status=0
build/bin/ZORScr "$PWD/build/demo/ZORDemo.INI" || status=$?
echo "ZORScr ended with status $status."
if [ -f build/demo/ZORError.Log ]; then
  echo "Error log (build/demo/ZORError.Log):"
  tr '\r' '\n' < build/demo/ZORError.Log
fi
exit "$status"
