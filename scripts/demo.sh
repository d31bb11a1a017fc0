#!/usr/bin/env bash
# The demo: the reference host, with a sample contest log of several
# hundred contacts in a SQLite file, loads Zeltra.dll under Wine, logs a few
# more contacts, opens the voivodeship window and prints the score line,
# then saves a screenshot of each window. It runs on your display when one
# is set, otherwise inside Xvfb. Installs and builds what it needs first.
# Usage: scripts/demo.sh [screenshot folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build/screenshots}")"

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target host >/dev/null
scripts/lay-out-demo.sh build/demo
mkdir -p "$out"

source scripts/wine-env.sh build/win32
ZELTRA_USE_DISPLAY=1 run_with_wine sh -c '
  out="$1"
  cd build/demo
  wine host.exe --sample contest-log.csv --script demo-contacts.csv --hold 60 \
    > host.log 2> host-errors.log &
  # Each window is taken while it is in front: the two overlap by design.
  shoot() {
    for i in $(seq 1 600); do grep -q "^$2" host.log && break; sleep 0.1; done
    sleep 1
    set -- $(grep "^$1" host.log | tr -d "\r")
    import -window root screen.png
    convert screen.png -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage \
      "$out/$(echo "$1" | tr A-Z a-z)-window.png"
  }
  shoot VOIVODESHIP STATISTICS
  touch next
  shoot STATISTICS RAISED
  touch stop; wait
  tr -d "\r" < host.log | grep -v -e "^STATISTICS" -e "^VOIVODESHIP" -e "^RAISED"
  cat host-errors.log
' sh "$out"
echo "Screenshots: $out/statistics-window.png $out/voivodeship-window.png"
