#!/usr/bin/env bash
# Lays out a host folder as a logging program's: the host, Plugins\Zeltra.dll
# and Plugins\Zeltra.txt, and the sample log to start from. A fresh log each
# time. Usage: scripts/lay-out-demo.sh <folder>
set -euo pipefail
cd "$(dirname "$0")/.."
demo="$1"
rm -rf "$demo" && mkdir -p "$demo/Plugins"
cp build/win32/bin/DemoHost.exe "$demo/"
cp build/win32/bin/Zeltra.dll host/sample/Zeltra.txt "$demo/Plugins/"
cp host/sample/contest-log.csv "$demo/"
