#!/usr/bin/env bash
# Where vantor.exe's idle time goes under Wine: counts the wineserver requests of an idle
# vantor.exe (default lists, no dialogs) over a window of seconds, by thread and request, and
# prints the resident memory of vantor.exe and of the minimal baseline program by mapping.
# Every request is a round trip to the server (two syscalls and a context switch each way),
# so this is the first thing to look at when the idle CPU figure of run.sh grows.
# Usage: bash bench/wine/server_calls.sh [BUILD_DIR] [SECONDS]   (default build/windows, 10)
# Uses its own Xvfb and Wine prefix under BUILD_DIR/wine-calls; ends only those.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
seconds=${2:-10}
build=$(cd "$build" && pwd)
work=$build/wine-calls
rm -rf "$work"
mkdir -p "$work/vantor" "$work/baseline"
x86_64-w64-mingw32-g++-posix -O2 -static -s -mwindows -o "$work/baseline_idle.exe" \
    "$repo/bench/wine/baseline_idle.cpp" -lwinmm -luser32
cp "$build/vantor.exe" "$work/vantor/"

source "$repo/bench/wine/world.sh"
wineserver -k 2>/dev/null || true  # the traced server below must be the only one
sleep 1
# A server of our own prefix that traces every request to a file.
(WINEDEBUG=+server exec wineserver -f -p -d1) 2>"$work/trace" &
sleep 1

(cd "$work/vantor" && exec wine ./vantor.exe) >/dev/null 2>&1 &
vantor_pid=$!
(cd "$work/baseline" && exec wine "$work/baseline_idle.exe") >/dev/null 2>&1 &
baseline_pid=$!
sleep 5  # start-up done
first=$(wc -l <"$work/trace")
sleep "$seconds"
last=$(wc -l <"$work/trace")
echo "== server requests in ${seconds} s (all processes of the prefix; thread: request) =="
sed -n "$((first + 1)),${last}p" "$work/trace" | grep -v '() = ' | grep -o '^[0-9a-f]*: [a-z_]*(' |
    sort | uniq -c | sort -rn | head -30 || true
echo "== resident memory (kB): vantor, baseline =="
grep VmRSS "/proc/$vantor_pid/status" "/proc/$baseline_pid/status"
echo "threads $(ls "/proc/$vantor_pid/task" | wc -l) $(ls "/proc/$baseline_pid/task" | wc -l)"
for pid in $vantor_pid $baseline_pid; do
    echo "== largest mappings of $pid (kB resident) =="
    awk '/^[0-9a-f]+-/ {name = $6 == "" ? $1 : $6} /^Rss:/ {r[name] += $2}
         END {for (n in r) print r[n], n}' "/proc/$pid/smaps" | sort -rn | head -15 || true
done
