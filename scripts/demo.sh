#!/usr/bin/env bash
# Shows the plug-in working end to end: a small host program loads
# Zeltra.dll under Wine, feeds sample contacts and prints what the plug-in
# answers and the score line. Installs and builds what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target DemoHost >/dev/null

scripts/lay-out-demo.sh build/demo
source scripts/wine-env.sh build/win32
ZELTRA_USE_DISPLAY=1 run_with_wine sh -c "cd build/demo && wine DemoHost.exe"
