#!/usr/bin/env bash
# Builds the project and its Debian package, and runs every test (unit,
# end-to-end, fuzz) through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# The Debian package, which the package tests check.
(cd build && cpack -G DEB >cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
