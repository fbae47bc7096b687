#!/bin/sh
# Builds one fuzz target with libFuzzer and the address and undefined-
# behaviour sanitizers, then runs it for a while on a copy of its corpus
# (the checked-in seeds are never written to).
#   run-fuzz.sh <builddir> <seconds> <target>
# target: profile (INI files), region (region data), pe (PE resources).
set -eu

if [ $# -ne 3 ]; then
    echo "usage: $0 <builddir> <seconds> profile|region|pe" >&2
    exit 2
fi
build=$1/$3
seconds=$2
target=$3
here=$(cd "$(dirname "$0")" && pwd)
src="$here/../src"
cxx=${CXX_FUZZ:-clang++}

case $target in
    profile) sources="$here/profile_fuzz.cpp $src/platform/profile/*.cpp $src/platform/system/AtomicFile.cpp $src/platform/system/TargetLock.cpp $src/platform/system/PrivateFolder.cpp $src/platform/system/WriteTarget.cpp $src/platform/system/HiddenTemporary.cpp" ;;
    region) sources="$here/region_fuzz.cpp $src/platform/gdi/Region.cpp $src/platform/gdi/RegionData.cpp" ;;
    pe) sources="$here/pe_resource_fuzz.cpp $src/platform/resources/PeModule.cpp $src/platform/resources/ResourceName.cpp" ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
esac

mkdir -p "$build"
# Qt is built with -fPIC (reduce-relocations), so code using it must be too.
# shellcheck disable=SC2046,SC2086
"$cxx" -std=c++20 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -O1 -g -fPIC -DQT_NO_KEYWORDS -I"$src" $(pkg-config --cflags Qt6Core) \
    $sources $(pkg-config --libs Qt6Core) -o "$build/fuzz"

rm -rf "$build/corpus" "$build/artifacts"
mkdir -p "$build/corpus" "$build/artifacts"
cp "$here/corpus/$target"/* "$build/corpus/" 2>/dev/null || true
if [ "$target" = pe ]; then
    # Real modules as seeds: resource-only DLLs from the MinGW-w64 tools.
    for arch in x86_64 i686; do
        (cd "$here" && "$arch-w64-mingw32-windres" --preprocessor=cat -i skin.rc -o "$build/$arch.o")
        "$arch-w64-mingw32-ld" --dll -e 0 -o "$build/corpus/skin-$arch.dll" "$build/$arch.o"
    done
fi

# The INI target writes its scratch file under TMPDIR: tmpfs when there is
# one, as it flushes the file to disk on every input.
scratchroot=$build
[ -d /dev/shm ] && [ -w /dev/shm ] && scratchroot=/dev/shm
scratch=$(mktemp -d "$scratchroot/fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# libFuzzer exits non-zero on a crash, a leak, a timeout, an allocation of
# more than -rss_limit_mb or a failed check, and leaves the input that
# caused it in artifacts/.
TMPDIR=$scratch "$build/fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifacts/" "$build/corpus"
