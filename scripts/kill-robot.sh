#!/usr/bin/env bash
# zeltra-robot killed with SIGKILL during 50 uploads at once, run after run
# (default 10), each on a new data folder: what each kill left, and whether
# every log answered "accepted" is there, byte for byte, after a restart.
# Usage: scripts/kill-robot.sh [RUNS] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target zeltra-robot robot_kill_runs >/dev/null
build/bench/bench/robot_kill_runs build/bench/src/tools/robot/zeltra-robot build/bench/robot-kill \
  "${1:-10}" ${2:+"$2"}
