#!/usr/bin/env bash
# Fails on an include that points up or sideways between the source folders,
# and on a system library's header included above src/platform/. The layers,
# bottom to top; folders on one line are siblings and may not include each
# other. A folder that is not listed fails too: place it here.
#
# Also fails when the map (docs/ARCHITECTURE.md, its layer list) leaves out a
# folder listed here, gives it another layer or half, or names a src path
# that does not exist; and when a folder of src/platform/ has no half here or is put
# in another half by src/platform/README.md. A platform folder is marked
# with its half: ":W" imitates Windows and VB behaviour, ":L" adapts a Linux
# service, ":WL" holds both; its README opens with "Half: imitates", "Half:
# adapts" or "Half: both". Every listed folder has a README.md.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

layers=(
  "platform/vb:W"
  "platform/system:L"
  "platform/resources:W platform/profile:W platform/gdi:W platform/registry:W"
  "platform/media:L platform/web:L platform/mixer:L"
  "platform/ui:WL"
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
declare -A rank half
for i in "${!layers[@]}"; do
  for entry in ${layers[$i]}; do
    folder=${entry%%:*}
    rank[$folder]=$i
    [ "$entry" != "$folder" ] && half[$folder]=${entry#*:}
  done
done

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

# The map: its layer list is the fenced block of lines "<layer> <folder> ...",
# a platform folder's half after the folder.
map="$src/../docs/ARCHITECTURE.md"
declare -A mapped
fence='```'
if [ ! -f "$map" ]; then
  echo "no map at $map"; faults=$((faults + 1))
else
  while read -r number folder mark _; do
    mapped[$folder]=$number
    [ -d "$src/$folder" ] || { echo "the map lists $folder, which is no folder of src"; faults=$((faults + 1)); }
    if [ -n "${half[$folder]:-}" ] && [ "$mark" != "${half[$folder]}" ]; then
      echo "the map marks $folder '$mark', the list here '${half[$folder]}'"; faults=$((faults + 1))
    fi
  done < <(sed -n "/^$fence/,/^$fence/p" "$map" | grep -E '^ *[0-9]+ +[a-z]')
  for folder in "${!rank[@]}"; do
    if [ -z "${mapped[$folder]+x}" ]; then
      echo "the map leaves out $folder"; faults=$((faults + 1))
    elif [ "${mapped[$folder]}" -ne $((rank[$folder] + 1)) ]; then
      echo "the map puts $folder in layer ${mapped[$folder]}, the list here in $((rank[$folder] + 1))"
      faults=$((faults + 1))
    fi
  done
  while IFS= read -r path; do
    [ -e "$src/${path#src/}" ] || { echo "the map names $path, which does not exist"; faults=$((faults + 1)); }
  done < <(grep -oE 'src/[A-Za-z0-9_./-]*[A-Za-z0-9_]' "$map" | sort -u)
fi

# The halves of src/platform/: its README lists each folder as "- `name/`"
# under a heading that starts "## Imitates" (W) or "## Adapts" (L).
declare -A named
readme="$src/platform/README.md"
if [ ! -f "$readme" ]; then
  echo "no $readme to name the halves of src/platform/"; faults=$((faults + 1))
else
  section=
  while IFS= read -r line; do
    case $line in
      '## Imitates'*) section=W ;;
      '## Adapts'*) section=L ;;
      '## '*) section= ;;
      '- `'*'/`'*)
        name=${line#'- `'}; name=platform/${name%%/\`*}
        [ -n "$section" ] && named[$name]="${named[$name]:-}$section" ;;
    esac
  done < "$readme"
fi
declare -A opening=([W]="Half: imitates" [L]="Half: adapts" [WL]="Half: both")
for dir in "$src"/platform/*/; do
  folder=platform/$(basename "$dir")
  if [ -z "${half[$folder]:-}" ]; then
    echo "$folder has no half (:W, :L or :WL) in the layer list"; faults=$((faults + 1))
  elif [ "${named[$folder]:-}" != "${half[$folder]}" ]; then
    echo "src/platform/README.md puts $folder in half '${named[$folder]:-none}', the list here in '${half[$folder]}'"
    faults=$((faults + 1))
  elif ! grep -m1 -v -e '^#' -e '^$' "$src/$folder/README.md" 2>/dev/null | grep -q "^${opening[${half[$folder]}]}"; then
    echo "src/$folder/README.md does not open with \"${opening[${half[$folder]}]} ...\""; faults=$((faults + 1))
  fi
done

# Each listed folder says what it holds and why in a README.md of its own.
for folder in "${!rank[@]}"; do
  [ -f "$src/$folder/README.md" ] || { echo "src/$folder has no README.md"; faults=$((faults + 1)); }
done

if [ "$faults" -gt 0 ]; then
  echo "$faults fault(s) against the layers, the map or the platform halves"
  exit 1
fi
echo "every include points down; the map and the platform halves match the layers"
