#!/usr/bin/env bash
# Shows the plug-in working end to end: a small host program loads
# Zeltra.dll under Wine, feeds sample contacts and prints what the plug-in
# answers and the score line. Installs and builds what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target DemoHost >/dev/null

demo=build/demo
rm -rf "$demo" && mkdir -p "$demo/Plugins"
cp build/win32/bin/DemoHost.exe build/win32/bin/Zeltra.dll "$demo/"
cp host/sample/Zeltra.txt "$demo/Plugins/"

source scripts/wine-env.sh build/win32
ZELTRA_USE_DISPLAY=1 run_with_wine sh -c "cd '$demo' && wine DemoHost.exe"
