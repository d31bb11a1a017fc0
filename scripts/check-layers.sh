#!/usr/bin/env bash
# Fails on an include from a lower layer to a higher one. The layers are the
# README's Layout table's src/ folders, lowest first (a folder with rows of
# its own below it is a group, not a layer); a file may include its own
# layer's headers and those of the layers listed above it.
# Usage: scripts/check-layers.sh [ROOT]   (ROOT holds README.md and src/)
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

mapfile -t listed < <(grep -o '^| `src/[^`]*`' README.md | sed 's/^| `//; s/`$//')
layers=()
for folder in "${listed[@]}"; do
  group=0
  for other in "${listed[@]}"; do
    [[ "$other" == "$folder/"* ]] && group=1
  done
  [ "$group" -eq 0 ] && layers+=("$folder")
done
[ "${#layers[@]}" -gt 1 ] || { echo "check-layers: no layers in README.md's Layout table"; exit 1; }

# The layer of a path under src/: the longest layer folder holding it, as
# "index folder", or nothing.
layer_of() {
  local path="$1" best="" index=-1 i
  for i in "${!layers[@]}"; do
    if [[ "$path" == "${layers[$i]}/"* && ${#layers[$i]} -gt ${#best} ]]; then
      best="${layers[$i]}"
      index=$i
    fi
  done
  [ "$index" -ge 0 ] && echo "$index $best"
}

failures=0
while IFS= read -r file; do
  read -r own ownFolder <<< "$(layer_of "$file")" || continue
  [ -n "${own:-}" ] || continue
  while IFS=: read -r line included; do
    read -r theirs theirFolder <<< "$(layer_of "src/$included")" || continue
    [ -n "${theirs:-}" ] || continue
    if [ "$theirs" -gt "$own" ]; then
      echo "$file:$line: includes \"$included\": $theirFolder is a higher layer than $ownFolder"
      failures=$((failures + 1))
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
           sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
  own="" theirs=""
done < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures upward include(s); the layers, lowest first: ${layers[*]}"
  exit 1
fi
echo "check-layers: no include runs upwards across ${#layers[@]} layers"
