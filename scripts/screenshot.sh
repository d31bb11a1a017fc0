#!/usr/bin/env bash
# Screenshots of both windows with the sample log loaded: the demo, which
# saves them and prints where. Usage: scripts/screenshot.sh [output folder]
exec "$(dirname "$0")/demo.sh" "$@"
