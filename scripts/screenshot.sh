#!/usr/bin/env bash
# Shows the statistics window and the voivodeship window with the sample
# log loaded under Xvfb and saves a screenshot of each.
# Usage: scripts/screenshot.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build/screenshots}")"

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target DemoHost >/dev/null
scripts/lay-out-demo.sh build/screenshot
mkdir -p "$out"

source scripts/wine-env.sh build/win32
run_with_wine sh -c '
  out="$1"
  cd build/screenshot
  wine DemoHost.exe --hold 60 > host.log 2>&1 &
  for i in $(seq 1 600); do grep -q "^STATISTICS" host.log && break; sleep 0.1; done
  sleep 1
  import -window root screen.png
  for window in STATISTICS VOIVODESHIP; do
    set -- $(grep "^$window" host.log | tr -d "\r")
    convert screen.png -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage \
      "$out/$(echo "$window" | tr A-Z a-z)-window.png"
  done
  touch stop; wait
  grep -v -e "^STATISTICS" -e "^VOIVODESHIP" host.log
' sh "$out"
echo "Screenshots: $out/statistics-window.png $out/voivodeship-window.png"
