# Sourced by the scripts that run Windows programs: one Wine prefix per build
# folder, created on first use, quiet, and with windows that Wine manages
# itself (Xvfb has no window manager; waiting for one costs 2 s per window).
# Usage: source scripts/wine-env.sh <build folder>

export WINEDEBUG=-all
export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml="
ZELTRA_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ZELTRA_SCRIPTS

# Runs "$@" inside a virtual X server (or on the user's display when
# ZELTRA_USE_DISPLAY is set and a display exists), starting the prefix first
# and stopping its wineserver at the end, so nothing outlives the X server.
run_with_wine() {
  local script='
    if [ ! -f "$WINEPREFIX/.zeltra-ready" ]; then
      wineboot -i >/dev/null 2>&1
      wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
      touch "$WINEPREFIX/.zeltra-ready"
    fi
    sh "$ZELTRA_SCRIPTS/wine-fonts.sh"
    "$@"; rc=$?
    wineserver -k 2>/dev/null
    exit $rc'
  if [ -n "${ZELTRA_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
    sh -c "$script" sh "$@"
  else
    xvfb-run -a -s "-screen 0 ${ZELTRA_SCREEN:-1600x1200}x24" sh -c "$script" sh "$@"
  fi
}
