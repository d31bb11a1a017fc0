#!/usr/bin/env bash
# Fails on an include that does not run downwards. The floors are the
# README's Layout table's: each src/ folder's row gives its floor. A folder
# with rows of its own below it is a group: its floor places it among the
# other groups and folders, and its folders' floors order them within it.
# A file may include its own folder's headers and those of a folder on a
# lower floor, in its group or, between groups, of a group on a lower
# floor. Folders on one floor stand side by side (the two programs; the
# DLL and the organiser's library) and include none of each other's files.
# Usage: scripts/check-layers.sh [ROOT]   (ROOT holds README.md and src/)
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

folders=()
declare -A floor_of
while IFS='|' read -r _ folder floor _; do
  folder=$(echo "$folder" | sed 's/^ *`//; s/` *$//')
  floor=$(echo "$floor" | tr -d ' ')
  [[ "$floor" =~ ^[0-9]+$ ]] || { echo "check-layers: $folder has no floor in README.md"; exit 1; }
  folders+=("$folder")
  floor_of[$folder]=$floor
done < <(grep '^| `src/[^`]*` |' README.md)

# Groups hold other rows; layers are the rest. A layer's group is the
# group row holding it, if any.
layers=()
declare -A group_of
for folder in "${folders[@]}"; do
  is_group=0
  for other in "${folders[@]}"; do
    [[ "$other" == "$folder/"* ]] && is_group=1
  done
  [ "$is_group" -eq 1 ] && continue
  layers+=("$folder")
  group_of[$folder]=""
  for other in "${folders[@]}"; do
    [[ "$folder" == "$other/"* && ${#other} -gt ${#group_of[$folder]} ]] && group_of[$folder]="$other"
  done
done
[ "${#layers[@]}" -gt 1 ] || { echo "check-layers: no floors in README.md's Layout table"; exit 1; }

# The layer of a path under src/: the longest layer folder holding it.
layer_of() {
  local path="$1" best="" layer
  for layer in "${layers[@]}"; do
    [[ "$path" == "$layer/"* && ${#layer} -gt ${#best} ]] && best="$layer"
  done
  echo "$best"
}

# Where a layer stands seen from another: within one group, by its own
# floor; otherwise by its group's floor (or its own, in no group).
standing() {
  local layer="$1" from="$2"
  local group="${group_of[$layer]}"
  if [ -n "$group" ] && [ "$group" == "${group_of[$from]}" ]; then
    echo "${floor_of[$layer]}"
  elif [ -n "$group" ]; then
    echo "${floor_of[$group]}"
  else
    echo "${floor_of[$layer]}"
  fi
}

failures=0
while IFS= read -r file; do
  own=$(layer_of "$file")
  [ -n "$own" ] || continue
  while IFS=: read -r line included; do
    theirs=$(layer_of "src/$included")
    [ -n "$theirs" ] && [ "$theirs" != "$own" ] || continue
    here=$(standing "$own" "$theirs")
    there=$(standing "$theirs" "$own")
    if [ "$there" -eq "$here" ]; then
      echo "$file:$line: includes \"$included\": $theirs stands beside $own (floor $here)"
      failures=$((failures + 1))
    elif [ "$there" -gt "$here" ]; then
      echo "$file:$line: includes \"$included\": $theirs (floor $there) stands above $own (floor $here)"
      failures=$((failures + 1))
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
           sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) not running downwards"
  exit 1
fi
echo "check-layers: every include runs downwards across ${#layers[@]} folders"
