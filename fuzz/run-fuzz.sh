#!/bin/sh
# Builds the INI parser's fuzz target with libFuzzer and the address and
# undefined-behaviour sanitizers, then runs it for a while on a copy of the
# corpus (the checked-in seeds are never written to).
#   run-fuzz.sh <builddir> <seconds>
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 <builddir> <seconds>" >&2
    exit 2
fi
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
src="$here/../src"
cxx=${CXX_FUZZ:-clang++}

mkdir -p "$build"
# Qt is built with -fPIC (reduce-relocations), so code using it must be too.
# shellcheck disable=SC2046
"$cxx" -std=c++20 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -O1 -g -fPIC -DQT_NO_KEYWORDS -I"$src" $(pkg-config --cflags Qt6Core) \
    "$here/profile_fuzz.cpp" "$src"/platform/profile/*.cpp \
    $(pkg-config --libs Qt6Core) -o "$build/profile_fuzz"

rm -rf "$build/corpus" "$build/artifacts"
mkdir -p "$build/corpus" "$build/artifacts"
cp "$here"/corpus/* "$build/corpus/"

# The target writes its scratch file under TMPDIR: tmpfs when there is
# one, as it flushes the file to disk on every input.
scratchroot=$build
[ -d /dev/shm ] && [ -w /dev/shm ] && scratchroot=/dev/shm
scratch=$(mktemp -d "$scratchroot/profile_fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# libFuzzer exits non-zero on a crash, a leak or a failed check, and
# leaves the input that caused it in artifacts/.
TMPDIR=$scratch "$build/profile_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -artifact_prefix="$build/artifacts/" "$build/corpus"
