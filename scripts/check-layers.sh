#!/usr/bin/env bash
# Fails on an include that points up or sideways between the source folders,
# and on a system library's header included above src/platform/. The layers,
# bottom to top; folders on one line are siblings and may not include each
# other. A folder that is not listed fails too: place it here.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

layers=(
  "platform/vb"
  "platform/system"
  "platform/resources platform/profile platform/gdi platform/registry"
  "platform/media platform/web platform/mixer"
  "platform/ui"
  "graphics"
  "state"
  "errors"
  "config"
  "sysinfo"
  "password"
  "web"
  "show"
  "remote"
  "startup facts collect"
)
declare -A rank
for i in "${!layers[@]}"; do for folder in ${layers[$i]}; do rank[$folder]=$i; done; done

# The folder a path belongs to: the longest listed prefix of its directory.
folder_of() {
  local dir=$1
  while [ -n "$dir" ] && [ "$dir" != "." ]; do
    [ -n "${rank[$dir]+x}" ] && { echo "$dir"; return; }
    dir=$(dirname "$dir")
  done
}

faults=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  from=$(folder_of "$(dirname "$rel")")
  if [ -z "$from" ]; then
    echo "$rel: its folder is not in the layer list"; faults=$((faults + 1)); continue
  fi
  while IFS= read -r line; do
    case $line in
      *'#include "'*)
        target=${line#*'#include "'}; target=${target%%\"*}
        to=$(folder_of "$(dirname "$target")")
        if [ -z "$to" ]; then
          echo "$rel includes $target, whose folder is not in the layer list"; faults=$((faults + 1))
        elif [ "$to" != "$from" ] && [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
          echo "$rel ($from) includes $target ($to), which is not below it"; faults=$((faults + 1))
        fi ;;
      *'#include <'*)
        target=${line#*'#include <'}; target=${target%%>*}
        case $target in
          mpv/*|X11/*|alsa/*|libavformat/*|libavutil/*|libavcodec/*|libswscale/*|libheif/*|libmount/*|QWebEngine*|QtWebEngine*)
            if [ "${from%%/*}" != platform ]; then
              echo "$rel includes <$target>, which only src/platform/ may"; faults=$((faults + 1))
            fi ;;
        esac ;;
    esac
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" | sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*/#include /')
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)

if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) against the layers"
  exit 1
fi
echo "every include points down"
