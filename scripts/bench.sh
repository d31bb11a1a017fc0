#!/usr/bin/env bash
# Runs the scoring benchmarks on an optimised native build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/bench/scoring_bench "$@"
