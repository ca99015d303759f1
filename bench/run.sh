#!/usr/bin/env bash
# Builds the native benchmarks in Release and runs them; extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
exec build/bench/bench/vantor_bench --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"
