#!/usr/bin/env bash
# Builds the project and runs every test (unit, end-to-end, fuzz) through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
