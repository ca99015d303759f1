#!/usr/bin/env bash
# Runs one Windows test program under the run's Wine, in a fresh work folder of its own.
# Wine's output goes to a file that is followed onto our stdout: Wine helper processes that a
# test may spawn then hold the file, not ctest's pipe, so ctest never waits on them.
# Usage: run_test.sh RUN_DIR TEST_NAME PROGRAM.exe [ARGS...]
set -uo pipefail
run=$1
name=$2
shift 2
if [ ! -f "$run/bench.env" ]; then
    echo "e2e: no bench in $run (the e2e_bench_setup test must run first)"
    exit 1
fi
# shellcheck disable=SC1091
source "$run/bench.env"

work="$run/work/$name"
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

# The file must exist before tail opens it.
: >"$work/output.log"
wine "$@" </dev/null >>"$work/output.log" 2>&1 &
wine_pid=$!
tail -n +1 -f --pid="$wine_pid" "$work/output.log" 2>/dev/null &
tail_pid=$!
wait "$wine_pid"
rc=$?
wait "$tail_pid"
exit "$rc"
