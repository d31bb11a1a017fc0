#!/usr/bin/env bash
# Runs the benchmarks on an optimised native build: the scoring engine, then
# the log reload against a bare scan of the same query. Arguments go to both
# programs (for instance --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/bench/scoring_bench "$@"
build/bench/bench/reload_bench "$@"
