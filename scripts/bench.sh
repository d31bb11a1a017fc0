#!/usr/bin/env bash
# Runs the benchmarks on an optimised native build: the scoring engine,
# the log reload against a bare scan of the same query, and the settings
# restore. Arguments go to every program (for instance
# --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/bench/scoring_bench "$@"
build/bench/bench/reload_bench "$@"
build/bench/bench/settings_bench "$@"
