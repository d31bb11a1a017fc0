#!/bin/sh
# Runs the Win32 test program in a Wine prefix of its own whose screen has
# the given logical pixels per inch. Usage: run-at-dpi.sh DPI TESTS.EXE [ARGS...]
set -e
dpi="$1"; shift
exe="$1"; shift
export WINEDEBUG=-all
export WINEPREFIX="$(dirname "$(realpath "$exe")")/../wineprefix-$dpi"
if [ ! -f "$WINEPREFIX/.zeltra-ready" ]; then
  wineboot -i >/dev/null 2>&1
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.zeltra-ready"
fi
sh "$(dirname "$0")/../../scripts/wine-fonts.sh"
cd "$(dirname "$exe")"
status=0
wine "$(basename "$exe")" "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
