#!/usr/bin/env bash
# Shows the statistics window with the sample log loaded under Xvfb and
# saves a screenshot of it. Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build/screenshots/statistics-window.png}")"

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target DemoHost >/dev/null
scripts/lay-out-demo.sh build/screenshot
mkdir -p "$(dirname "$out")"

source scripts/wine-env.sh build/win32
run_with_wine sh -c '
  out="$1"
  cd build/screenshot
  wine DemoHost.exe --hold 60 > host.log 2>&1 &
  for i in $(seq 1 600); do grep -q "^WINDOW" host.log && break; sleep 0.1; done
  set -- $(grep "^WINDOW" host.log | tr -d "\r")
  sleep 1
  import -window root -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$out"
  touch stop; wait
  cat host.log | grep -v "^WINDOW"
' sh "$out"
echo "Screenshot: $out"
