#!/usr/bin/env bash
# Measures the real vantor.exe under Wine, next to yardsticks run in the same Wine world:
#   - which window events Wine delivers for another program's windows (win_events.cpp);
#   - foreground message boxes: the time from a box becoming active to MessageBoxA returning
#     (median, 95th percentile, max over ROUNDS rounds of 40 boxes spread over a 50 ms poll's
#     phase), for vantor.exe, the BEFORE build when given, a bare polling closer
#     (bare_closer.cpp), the box's own floor (its thread posts IDOK to it at activation) and a
#     clicking closer's floor (another thread of the box's program sends BM_CLICK to OK the
#     moment the box activates);
#     and, for single boxes, where the time went (when the closer's WM_NULL and BM_CLICK
#     reached the box's thread, medians from activation);
#   - bursts: 30 and 100 boxes released at one moment, each on its own thread: the time from
#     the release until the last one returned (max of ROUNDS runs), next to the same burst
#     pressing its own OK (the burst's floor);
#   - background boxes (opened behind another window, 10 each) and 20 foreground boxes next to
#     two programs whose OK dialogs never answer (box_latency.cpp);
#   - CPU of the closer over 15 s with a window of 0 and of 2,000 child controls in front, and
#     with 20 and 200 top-level windows on the desktop (crowd.cpp), two rounds alternating;
#   - the way from a list file saved in the program folder to the reload notice on screen
#     (median and 95th percentile over 20 saves, notice_latency.cpp);
#   - idle CPU and resident memory over IDLE seconds next to a minimal program (one hidden
#     window, one 50 ms multimedia timer) running all along, before any message and again
#     after 20 messages, once the message window has hidden; and the size of vantor.exe.
# Usage: bash bench/wine/run.sh [BUILD_DIR] [BEFORE]
#   BUILD_DIR  default build/windows (vantor.exe is built there if missing)
#   BEFORE     a vantor.exe to measure side by side, or a git revision of this repository
#              (e.g. main) whose vantor.exe is built under BUILD_DIR/wine-bench/before
# Environment: VANTOR_BENCH_IDLE_SECONDS (default 60), VANTOR_BENCH_ROUNDS (default 3),
# VANTOR_BENCH_PARTS (default all: "events foreground burst background hung notice crowd idle"),
# VANTOR_BENCH_DESKTOP=1 (everything in one Wine virtual desktop instead of X windows).
# Takes about 14 minutes with a BEFORE build, 8 without. Everything runs on a private Xvfb and
# a private Wine prefix under BUILD_DIR/wine-bench; at the end only those are ended: our
# wineserver (by WINEPREFIX) and our Xvfb (by pid). The machine's load at the start and the
# end is printed: the figures are only comparable within one run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
before=${2:-}
idle_seconds=${VANTOR_BENCH_IDLE_SECONDS:-60}
rounds=${VANTOR_BENCH_ROUNDS:-3}
parts=" ${VANTOR_BENCH_PARTS:-events foreground burst background hung notice crowd idle} "
part() { [[ $parts == *" $1 "* ]]; }

if [ ! -f "$build/vantor.exe" ]; then
    cmake --preset windows -B "$build" >/dev/null
    cmake --build "$build" -j2 --target vantor
fi
build=$(cd "$build" && pwd)  # Wine wants an absolute prefix path
work=$build/wine-bench
rm -rf "$work"
mkdir -p "$work/bin"
cc() { x86_64-w64-mingw32-g++-posix -O2 -static -s "$@" -lwinmm -luser32; }
cc -mwindows -o "$work/bin/baseline_idle.exe" "$repo/bench/wine/baseline_idle.cpp"
cc -mwindows -o "$work/bin/bare_closer.exe" "$repo/bench/wine/bare_closer.cpp"
cc -o "$work/bin/box_latency.exe" "$repo/bench/wine/box_latency.cpp"
cc -o "$work/bin/notice_latency.exe" "$repo/bench/wine/notice_latency.cpp"
cc -o "$work/bin/win_events.exe" "$repo/bench/wine/win_events.cpp"
cc -mwindows -o "$work/bin/crowd.exe" "$repo/bench/wine/crowd.cpp"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -s -I"$repo/src" \
    -o "$work/bin/soak_log.exe" "$repo/bench/wine/soak_log.cpp" -luser32
cc -o "$work/bin/app_dialog.exe" "$repo/tests/e2e/tools/app_dialog.cpp"

closers=(vantor)
mkdir -p "$work/vantor"
cp "$build/vantor.exe" "$work/vantor/"
if [ -n "$before" ]; then
    mkdir -p "$work/before"
    if [ -f "$before" ]; then
        cp "$before" "$work/before/vantor.exe"
    else
        echo "building vantor.exe of $before ..."
        mkdir -p "$work/before-src"
        git -C "$repo" archive "$before" | tar -x -C "$work/before-src"
        (cd "$work/before-src" && cmake --preset windows >/dev/null &&
            cmake --build --preset windows -j2 --target vantor >/dev/null)
        cp "$work/before-src/build/windows/vantor.exe" "$work/before/vantor.exe"
    fi
    closers+=(before)
fi

echo "load at start: $(uptime)"
source "$repo/bench/wine/world.sh"
wineserver -p

if part events; then
echo "== window events Wine delivers for another program's windows =="
wine "$work/bin/win_events.exe" | tr -d '\r'
fi

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

(cd "$work" && exec wine "$work/bin/baseline_idle.exe") >/dev/null 2>&1 &
baseline_pid=$!

# Starts closer $1 (vantor, before or bare) and sets closer_pid; stop_closer ends it.
closer_pid=""
start_closer() {
    case $1 in
        bare) (cd "$work" && exec wine "$work/bin/bare_closer.exe") >/dev/null 2>&1 & ;;
        *) (cd "$work/$1" && exec wine ./vantor.exe) >/dev/null 2>&1 & ;;
    esac
    closer_pid=$!
    sleep 4  # start-up done, files written, first full pass made
}
stop_closer() {
    kill "$closer_pid" 2>/dev/null || true
    wait "$closer_pid" 2>/dev/null || true
    closer_pid=""
}
trap 'stop_closer; cleanup' EXIT

# box_latency's latency lines of one run, appended to $work/$2.lat; its summary printed.
boxes() {
    local name=$1 mode=$2 count=$3
    shift 3
    local rc=0
    (cd "$work" && wine "$work/bin/box_latency.exe" "$mode" "$count" "$@") | tr -d '\r' >"$work/run.out" || rc=$?
    { grep '^latency_ms' "$work/run.out" || true; } | awk '{print $2}' >>"$work/$name.$mode.lat"
    printf '%-8s %s%s\n' "$name" "$(grep -v '^latency_ms' "$work/run.out" | tr '\n' ' ')" \
        "$([ "$rc" = 0 ] || echo "(box_latency ended with $rc)")"
}
# Median, 95th percentile and max of a file of numbers.
summary() {
    sort -n "$1" | awk '{v[NR] = $1} END {
        if (NR == 0) {print "no boxes"; exit}
        m = v[int(0.5 * (NR - 1) + 1.5)]; p = v[int(0.95 * (NR - 1) + 1.5)]
        printf "boxes %d median_ms %.1f p95_ms %.1f max_ms %.1f\n", NR, m, p, v[NR] }'
}

if part foreground; then
echo "== foreground boxes: $rounds rounds of 40, activation to OK =="
for round in $(seq "$rounds"); do
    echo "-- round $round"
    for c in "${closers[@]}" bare; do
        start_closer "$c"
        boxes "$c" foreground 40
        stop_closer
    done
    boxes floor self 40
    boxes clickfl self-click 40
done
echo "-- all rounds (floor: the box posts its own IDOK; clickfl: its own program sends BM_CLICK)"
for c in "${closers[@]}" bare floor clickfl; do
    mode=foreground; [ "$c" = floor ] && mode=self; [ "$c" = clickfl ] && mode=self-click
    printf '%-8s %s\n' "$c" "$(summary "$work/$c.$mode.lat")"
done
fi

if part burst; then
echo "== bursts: boxes released at one moment, release to the last one's return =="
# Wine 8 at times crashes a program whose many box threads end at once (a heap corruption in
# its own code): such a run is made again, up to three times, with a fresh closer (whose log
# then holds only the boxes of the run that counts), and says so.
burst() {
    local try
    for try in 1 2 3; do
        boxes "$@" >"$work/burst.out"
        grep -q 'max_ms' "$work/burst.out" && break
        echo "(crashed, run again: $(cat "$work/burst.out"))"
        if [ "$1" != floor ]; then stop_closer; start_closer "$1"; fi
    done
}
for round in $(seq "$rounds"); do
    for n in 30 100; do
        for c in "${closers[@]}"; do
            start_closer "$c"
            burst "$c" burst "$n"
            echo "$(sed 's/.*max_ms \([0-9.-]*\).*/\1/' "$work/burst.out")" >>"$work/$c.burst$n"
            printf 'round %d %3d boxes %s' "$round" "$n" "$(cat "$work/burst.out")"
            # Each box logged once: the closer's message log, paged through as a user does.
            (cd "$work" && wine "$work/bin/soak_log.exe" dump) 2>/dev/null | tr -d '\r' |
                awk -F'\t' '$1 == "entry" && $2 ~ /^burst probe/ {n[$2]++}
                    END {for (c in n) {d++; if (n[c] > 1) m++}
                         printf "logged %d, more than once %d\n", d, m}'
            stop_closer
        done
        burst floor burst-self "$n"
        echo "$(sed 's/.*max_ms \([0-9.-]*\).*/\1/' "$work/burst.out")" >>"$work/floor.burst$n"
        printf 'round %d %3d boxes %s\n' "$round" "$n" "$(cat "$work/burst.out")"
    done
done
echo "-- all closed after (ms, each round)"
for n in 30 100; do
    for c in "${closers[@]}" floor; do
        printf '%-8s %3d boxes: %s\n' "$c" "$n" "$(tr '\n' ' ' <"$work/$c.burst$n")"
    done
done
fi

if part background; then
echo "== background boxes: 10 each, showing to OK =="
for c in "${closers[@]}" bare; do
    start_closer "$c"
    boxes "$c" background 10
    stop_closer
done
fi

if part hung; then
echo "== 20 foreground boxes next to two programs that stopped answering =="
for c in "${closers[@]}"; do
    start_closer "$c"
    boxes "$c" hung 20 "$(winepath -w "$work/bin/app_dialog.exe")"
    stop_closer
done
fi

if part notice; then
echo "== from a list file saved in the program folder to the reload notice on screen (20) =="
start_closer vantor
(cd "$work" && wine "$work/bin/notice_latency.exe" "$(winepath -w "$work/vantor")" 20) |
    tr -d '\r' | grep -v '^latency_ms'
stop_closer
fi

# Idle CPU and memory of closer pid $1 next to the baseline over idle_seconds, as "$2".
measure_idle() {
    local pid=$1 v0 b0 v1 b1 hz vns bns vr br
    echo "-- $2"
    v0=$(cpu_ticks "$pid"); b0=$(cpu_ticks $baseline_pid)
    thread_ns "$pid" >"$work/closer.ns0"; thread_ns $baseline_pid >"$work/baseline.ns0"
    sleep "$idle_seconds"
    v1=$(cpu_ticks "$pid"); b1=$(cpu_ticks $baseline_pid)
    thread_ns "$pid" >"$work/closer.ns1"; thread_ns $baseline_pid >"$work/baseline.ns1"
    hz=$(getconf CLK_TCK)
    vns=$(cpu_ms_between "$work/closer.ns0" "$work/closer.ns1")
    bns=$(cpu_ms_between "$work/baseline.ns0" "$work/baseline.ns1")
    awk -v v=$((v1 - v0)) -v b=$((b1 - b0)) -v hz="$hz" -v vns="$vns" -v bns="$bns" 'BEGIN {
        printf "vantor_cpu_ms %.1f (in clock ticks: %d)\n", vns, v * 1000 / hz
        printf "baseline_cpu_ms %.1f (in clock ticks: %d)\n", bns, b * 1000 / hz
        if (bns > 0) printf "ratio %.2f\n", vns / bns; else print "ratio n/a (baseline used no time)" }'
    vr=$(rss_kb "$pid"); br=$(rss_kb $baseline_pid)
    echo "vantor_rss_kb $vr baseline_rss_kb $br rss_difference_kb $((vr - br))"
}

if part crowd; then
echo "== CPU of the closer over 15 s: crowded window in front, busy desktop (ms) =="
# crowd.exe builds its windows, runs 20 s; the 15 s measured start once they are built.
crowd_cpu() {
    local pid=$1 crowd
    (cd "$work" && exec wine "$work/bin/crowd.exe" "$2" "$3" 20) >/dev/null 2>&1 &
    crowd=$!
    sleep 4
    thread_ns "$pid" >"$work/crowd.ns0"
    sleep 15
    thread_ns "$pid" >"$work/crowd.ns1"
    wait "$crowd" 2>/dev/null || true
    cpu_ms_between "$work/crowd.ns0" "$work/crowd.ns1"
}
for c in "${closers[@]}"; do
    start_closer "$c"
    for round in 1 2; do
        for what in "children 0" "children 2000" "windows 20" "windows 200"; do
            set -- $what
            printf '%s %s %s round %d cpu_ms %s\n' "$c" "$1" "$2" "$round" "$(crowd_cpu "$closer_pid" "$1" "$2")"
        done
    done
    stop_closer
done
fi

if part idle; then
echo "== idle ${idle_seconds} s next to the minimal program, before and after 20 messages =="
for c in "${closers[@]}"; do
    start_closer "$c"
    measure_idle "$closer_pid" "$c: no message yet"
    (cd "$work" && wine "$work/bin/box_latency.exe" foreground 20) >/dev/null 2>&1 || true
    sleep 10  # the message window has hidden again
    measure_idle "$closer_pid" "$c: after 20 messages"
    stop_closer
    echo "vantor_exe_bytes $(stat -c %s "$work/$c/vantor.exe")"
done
fi
echo "load at end: $(uptime)"
