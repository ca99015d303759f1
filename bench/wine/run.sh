#!/usr/bin/env bash
# Measures the real vantor.exe under Wine (not part of the test run; takes about 4 minutes):
#   - latency from a foreground message box appearing to its closing, over 30 boxes
#     (median and 95th percentile), and the same for boxes that open behind another window;
#   - idle CPU time of vantor.exe over 60 s with the default lists and no dialogs, next to
#     that of a minimal Win32 program (hidden window, one 50 ms multimedia timer) measured
#     at the same time;
#   - resident memory of both, and the size of vantor.exe;
#   - the way from a list file saved in the program folder to the reload notice on screen
#     (median and 95th percentile over 20 saves);
#   - idle CPU and memory again after the boxes, once the message window has hidden.
# Usage: bash bench/wine/run.sh [BUILD_DIR]   (default build/windows; built if needed)
# Everything runs on a private Xvfb and a private Wine prefix under BUILD_DIR/wine-bench;
# at the end only those are ended: our wineserver (by WINEPREFIX) and our Xvfb (by pid).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
work=$build/wine-bench
idle_seconds=${VANTOR_BENCH_IDLE_SECONDS:-60}

if [ ! -f "$build/vantor.exe" ]; then
    cmake --preset windows -B "$build" >/dev/null
    cmake --build "$build" -j2 --target vantor
fi
build=$(cd "$build" && pwd)  # Wine wants an absolute prefix path
work=$build/wine-bench
rm -rf "$work"
mkdir -p "$work/bin" "$work/vantor" "$work/baseline"
for tool in baseline_idle box_latency notice_latency; do
    flags=(-O2 -static -s)
    [ "$tool" = baseline_idle ] && flags+=(-mwindows)
    x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$work/bin/$tool.exe" \
        "$repo/bench/wine/$tool.cpp" -lwinmm -luser32
done
cp "$build/vantor.exe" "$work/vantor/"

source "$repo/bench/wine/world.sh"
wineserver -p

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Nanoseconds on the CPU, thread by thread ("tid ns"): /proc/PID/stat counts in 10 ms ticks,
# too coarse for a ratio of two figures near 100 ms.
thread_ns() {
    for f in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$f" 2>/dev/null && t=${f%/schedstat} && echo "${t##*/} $ns"
    done
}
# CPU time in ms between two thread_ns snapshots (files); a thread started in between counts
# whole, one that ended in between is lost (an idle program starts and ends none).
cpu_ms_between() {
    awk 'NR == FNR {before[$1] = $2; next} {total += $2 - ($1 in before ? before[$1] : 0)}
         END {printf "%.1f", total / 1e6}' "$1" "$2"
}
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

(cd "$work/vantor" && exec wine ./vantor.exe) >/dev/null 2>&1 &
vantor_pid=$!
(cd "$work/baseline" && exec wine "$work/bin/baseline_idle.exe") >/dev/null 2>&1 &
baseline_pid=$!
sleep 5  # start-up done, files written

# Idle CPU and memory of both programs over idle_seconds, under the heading $1.
measure_idle() {
    echo "== $1 =="
    local v0 b0 v1 b1 hz vns bns vr br
    v0=$(cpu_ticks $vantor_pid); b0=$(cpu_ticks $baseline_pid)
    thread_ns $vantor_pid >"$work/vantor.ns0"; thread_ns $baseline_pid >"$work/baseline.ns0"
    sleep "$idle_seconds"
    v1=$(cpu_ticks $vantor_pid); b1=$(cpu_ticks $baseline_pid)
    thread_ns $vantor_pid >"$work/vantor.ns1"; thread_ns $baseline_pid >"$work/baseline.ns1"
    hz=$(getconf CLK_TCK)
    vns=$(cpu_ms_between "$work/vantor.ns0" "$work/vantor.ns1")
    bns=$(cpu_ms_between "$work/baseline.ns0" "$work/baseline.ns1")
    awk -v v=$((v1 - v0)) -v b=$((b1 - b0)) -v hz="$hz" -v vns="$vns" -v bns="$bns" 'BEGIN {
        printf "vantor_cpu_ms %.1f (in clock ticks: %d)\n", vns, v * 1000 / hz
        printf "baseline_cpu_ms %.1f (in clock ticks: %d)\n", bns, b * 1000 / hz
        if (bns > 0) printf "ratio %.2f\n", vns / bns; else print "ratio n/a (baseline used no time)" }'
    vr=$(rss_kb $vantor_pid); br=$(rss_kb $baseline_pid)
    echo "vantor_rss_kb $vr"
    echo "baseline_rss_kb $br"
    echo "rss_difference_kb $((vr - br))"
}

measure_idle "idle: ${idle_seconds} s, no dialogs"
echo "vantor_exe_bytes $(stat -c %s "$build/vantor.exe")"

echo "== foreground boxes =="
(cd "$work" && wine "$work/bin/box_latency.exe" foreground 30) | tr -d '\r' | grep -v '^latency_ms'
echo "== background boxes =="
(cd "$work" && wine "$work/bin/box_latency.exe" background 3) | tr -d '\r'

echo "== list notice =="
(cd "$work" && wine "$work/bin/notice_latency.exe" "$(winepath -w "$work/vantor")" 20) |
    tr -d '\r' | grep -v '^latency_ms'

# The same once messages have been shown (the message window's controls exist) and the
# window has hidden again.
sleep 10
measure_idle "idle again: ${idle_seconds} s after the boxes"
