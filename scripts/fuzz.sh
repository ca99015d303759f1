#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
shopt -s nullglob
for bin in build/fuzz/fuzz/fuzz_*; do
    [ -x "$bin" ] || continue
    name=$(basename "$bin")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "fuzz: $name for ${seconds}s"
    "$bin" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 "$corpus" 2>&1 | tail -n 2
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz: $name failed"; exit 1; }
done
