#!/usr/bin/env bash
# Does appending History.txt move the close latency? Foreground message boxes (activation to
# OK, box_latency.cpp) against vantor.exe with History=1 and with History=0, ROUNDS rounds of
# 40 boxes each, the two settings alternating within each round; median, 95th percentile and
# max side by side, and the entries History.txt got. Takes about 2 minutes.
# Usage: bash bench/wine/history_latency.sh [BUILD_DIR]   (default build/windows)
# Environment: VANTOR_BENCH_ROUNDS (default 3).
# Everything runs on a private Xvfb and prefix under BUILD_DIR/wine-bench-history; only those
# are ended at the end (our wineserver by WINEPREFIX, our Xvfb by pid). The machine's load is
# printed: the figures compare only within one run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
rounds=${VANTOR_BENCH_ROUNDS:-3}
if [ ! -f "$build/vantor.exe" ]; then
    cmake --preset windows -B "$build" >/dev/null
    cmake --build "$build" -j2 --target vantor
fi
build=$(cd "$build" && pwd)  # Wine wants an absolute prefix path
work=$build/wine-bench-history
rm -rf "$work"
mkdir -p "$work/bin"
x86_64-w64-mingw32-g++-posix -O2 -static -s -o "$work/bin/box_latency.exe" \
    "$repo/bench/wine/box_latency.cpp" -luser32
for h in 1 0; do
    mkdir -p "$work/history$h"
    cp "$build/vantor.exe" "$work/history$h/"
    printf '[Main]\r\nHistory=%s\r\n' "$h" >"$work/history$h/Vantor.ini"
done

echo "load at start: $(uptime)"
source "$repo/bench/wine/world.sh"
wineserver -p

closer_pid=""
stop_closer() {
    kill "$closer_pid" 2>/dev/null || true
    wait "$closer_pid" 2>/dev/null || true
    closer_pid=""
}
trap 'stop_closer; cleanup' EXIT

for round in $(seq "$rounds"); do
    for h in 1 0; do
        (cd "$work/history$h" && exec wine ./vantor.exe) >/dev/null 2>&1 &
        closer_pid=$!
        sleep 4  # start-up done, files written, first full pass made
        (cd "$work" && wine "$work/bin/box_latency.exe" foreground 40) | tr -d '\r' \
            >"$work/run.out" || true
        awk '/^latency_ms/ {print $2}' "$work/run.out" >>"$work/history$h.lat"
        echo "round $round History=$h: $(grep -v '^latency_ms' "$work/run.out" | tr '\n' ' ')"
        stop_closer
    done
done
echo "== foreground boxes, all rounds, activation to OK =="
for h in 1 0; do
    sort -n "$work/history$h.lat" | awk -v h="$h" '{v[NR] = $1} END {
        if (NR == 0) {print "History=" h " no boxes"; exit}
        m = v[int(0.5 * (NR - 1) + 1.5)]; p = v[int(0.95 * (NR - 1) + 1.5)]
        printf "History=%s boxes %d median_ms %.2f p95_ms %.2f max_ms %.2f\n", h, NR, m, p, v[NR] }'
done
entries=$(grep -c $'^[0-9]\\{4\\}-.*\tclosed\t' "$work/history1/History.txt" 2>/dev/null || true)
echo "History.txt entries with History=1: ${entries:-0}; with History=0 the file is $(
    [ -e "$work/history0/History.txt" ] && echo there || echo absent)"
echo "load at end: $(uptime)"
