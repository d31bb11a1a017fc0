#!/usr/bin/env bash
# Lays out a logging program's folder for the reference host: host.exe,
# Plugins\Zeltra.dll and Plugins\Zeltra.txt, with the sample log and the
# demo's contacts beside them. A fresh folder, so a fresh log, each time.
# Usage: scripts/lay-out-demo.sh <folder>
set -euo pipefail
cd "$(dirname "$0")/.."
demo="$1"
rm -rf "$demo" && mkdir -p "$demo/Plugins"
cp build/win32/bin/host.exe "$demo/"
cp build/win32/bin/Zeltra.dll host/sample/Zeltra.txt "$demo/Plugins/"
cp host/sample/contest-log.csv host/sample/demo-contacts.csv "$demo/"
