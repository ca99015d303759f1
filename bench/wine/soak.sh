#!/usr/bin/env bash
# The soak: the real vantor.exe under Wine through about five minutes of a busy desktop.
#   - four programs show 1,000 message boxes in all (250 each, one every 1.2 s, each on a
#     thread of its own whether or not the earlier ones have closed), some in the
#     foreground, some behind their own front window (one box in 1, 2, 3 or 4);
#   - a hung program keeps two windows open the whole time (one looks like a message box);
#   - Vantor is started a second time every minute (which makes the running one read its
#     four rule lists again), and the rule lists are appended to every 45 s;
#   - resident memory of vantor.exe is sampled every 15 s.
# At the end it pages through Vantor's message log (soak_log dump), ends it with Exit and
# reports: boxes closed (MessageBoxA returned IDOK) and missed, log entries per box (each
# closed box must be logged exactly once, the hung program's box once), resident memory at
# the start, after the first minute and at the end, the second starts' exit codes, whether
# the user's files hold exactly what they held plus what the soak appended, and vantor.exe's
# own exit code. Exit status 0 when all of that holds.
# Usage: bash bench/wine/soak.sh [BUILD_DIR]   (default build/windows; built if needed)
# Runs on a private Xvfb and Wine prefix under BUILD_DIR/wine-soak (bench/wine/world.sh);
# at the end only those are ended.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
boxes_each=${VANTOR_SOAK_BOXES_EACH:-250}
period_ms=${VANTOR_SOAK_PERIOD_MS:-1200}

if [ ! -f "$build/vantor.exe" ]; then
    cmake --preset windows -B "$build" >/dev/null
    cmake --build "$build" -j2 --target vantor
fi
build=$(cd "$build" && pwd)  # Wine wants an absolute prefix path
work=$build/wine-soak
rm -rf "$work"
mkdir -p "$work/bin" "$work/vantor" "$work/expected" "$work/out"
for tool in soak_boxes soak_hung soak_log; do
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -s -I"$repo/src" \
        -o "$work/bin/$tool.exe" "$repo/bench/wine/$tool.cpp" -luser32
done
cp "$build/vantor.exe" "$work/vantor/"

source "$repo/bench/wine/world.sh"
wineserver -p

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
alive() { kill -0 "$1" 2>/dev/null; }
vantor_exit() { (cd "$work/vantor" && wine "$work/bin/soak_log.exe" exit) >/dev/null 2>&1 || true; }

# 1. The user's folder as an ordinary first run and Exit leave it.
(cd "$work/vantor" && exec wine ./vantor.exe) >/dev/null 2>&1 &
first=$!
sleep 5
vantor_exit
timeout 30 tail --pid="$first" -f /dev/null || true
cp "$work/vantor/"*.ini "$work/expected/"
echo "== user files before the soak =="
(cd "$work/expected" && ls -l --time-style=+ -- *.ini | awk '{print $5, $6}')

# 2. The soak.
(cd "$work/vantor" && exec wine ./vantor.exe) >"$work/out/vantor.log" 2>&1 &
vantor_pid=$!
sleep 5
rss_start=$(rss_kb $vantor_pid)
total_s=$(( (boxes_each * period_ms) / 1000 + 60 ))
(cd "$work/out" && exec wine "$work/bin/soak_hung.exe" $((total_s + 120))) >"$work/out/hung.log" 2>&1 &
hung_pid=$!
sleep 2
box_pids=()
every=(1 2 3 4)
for i in 0 1 2 3; do
    name=$(printf '%s' ABCD | cut -c$((i + 1)))
    (cd "$work/out" && exec wine "$work/bin/soak_boxes.exe" "$name" "$boxes_each" "$period_ms" \
        "${every[$i]}") >"$work/out/boxes_$name.log" 2>&1 &
    box_pids+=($!)
    sleep 0.3
done

lists=(White.ini Black.ini Main.ini Replace.ini)
edits=("soak white never matches qzx" "soak quiet" "SoakNoSuchClass||Maximize"
       "soak no such caption qzx|soak renamed")
second_codes=()
rss_samples=()
rss_warm=""
crashed=0
started=$(date +%s)
edit_n=0
next_rss=0
next_edit=45
next_second=60
while :; do
    running=0
    for p in "${box_pids[@]}"; do alive "$p" && running=1; done
    [ $running = 1 ] || break
    now=$(( $(date +%s) - started ))
    [ "$now" -gt $((total_s + 300)) ] && { echo "soak: box programs still running"; break; }
    if ! alive $vantor_pid; then crashed=1; echo "soak: vantor.exe ended at ${now} s"; break; fi
    if [ "$now" -ge $next_rss ]; then
        rss_samples+=("${now}s:$(rss_kb $vantor_pid)")
        [ "$now" -ge 60 ] && [ -z "$rss_warm" ] && rss_warm=$(rss_kb $vantor_pid)
        next_rss=$((next_rss + 15))
    fi
    if [ "$now" -ge $next_edit ]; then
        # Appended as an editor would save it: one more line at the end.
        list=${lists[$((edit_n % 4))]}
        line=${edits[$((edit_n % 4))]}
        printf '\r\n%s' "$line" >>"$work/vantor/$list"
        printf '\r\n%s' "$line" >>"$work/expected/$list"
        edit_n=$((edit_n + 1))
        next_edit=$((next_edit + 45))
    fi
    if [ "$now" -ge $next_second ]; then
        code=0
        (cd "$work/vantor" && timeout 60 wine ./vantor.exe) >/dev/null 2>&1 || code=$?
        second_codes+=("$code")
        next_second=$((next_second + 60))
    fi
    sleep 1
done
soak_seconds=$(( $(date +%s) - started ))
sleep 10  # the last message hides; idle
rss_end=$(rss_kb $vantor_pid)
alive $vantor_pid || crashed=1

(cd "$work/out" && wine "$work/bin/soak_log.exe" dump) 2>/dev/null | tr -d '\r' >"$work/out/log.txt" || true
vantor_exit
vantor_code=0
wait $vantor_pid || vantor_code=$?
# Ours, started above; it would end by itself later.
kill "$hung_pid" 2>/dev/null || true

# 3. The figures.
cat "$work/out"/boxes_*.log | tr -d '\r' >"$work/out/boxes.txt"
shown=$(grep -c '^box ' "$work/out/boxes.txt" || true)
closed=$(awk '$1 == "box" && $4 == 1' "$work/out/boxes.txt" | wc -l)
missed=$((shown - closed))
awk '$1 == "box" && $4 == 1 {print "soak " $2 " " $3}' "$work/out/boxes.txt" | sort >"$work/out/closed.txt"
awk -F'\t' '$1 == "entry" {print $2}' "$work/out/log.txt" | grep '^soak [A-D] ' | sort >"$work/out/logged.txt" || true
logged_once=$(comm -12 "$work/out/closed.txt" <(uniq -u "$work/out/logged.txt") | wc -l)
logged_twice=$(uniq -d "$work/out/logged.txt" | wc -l)
not_logged=$(comm -23 "$work/out/closed.txt" <(sort -u "$work/out/logged.txt") | wc -l)
logged_not_closed=$(comm -13 "$work/out/closed.txt" <(sort -u "$work/out/logged.txt") | wc -l)
hung_entries=$(awk -F'\t' '$1 == "entry" && $2 == "soak hung box"' "$work/out/log.txt" | wc -l)
entries=$(awk '$1 == "entries" {print $2}' "$work/out/log.txt")
latency=$(awk '$1 == "box" && $4 == 1 {print $5}' "$work/out/boxes.txt" | sort -n |
          awk '{a[NR] = $1} END {if (NR) printf "median %d ms, p95 %d ms, max %d ms", a[int(NR / 2) + 1], a[int(NR * 0.95)], a[NR]}')
files_ok=1
for f in "$work/expected/"*.ini; do
    if ! cmp -s "$f" "$work/vantor/$(basename "$f")"; then
        files_ok=0
        echo "soak: $(basename "$f") differs from what it held plus the soak's appends"
    fi
done
names_before=$( (cd "$work/expected" && ls; echo vantor.exe) | sort)
# History.txt is the one file the program adds: one block per closed box.
names_after=$(cd "$work/vantor" && ls | grep -vx 'History\.txt' | sort)
history_entries=$(grep -c $'\tclosed' "$work/vantor/History.txt" 2>/dev/null || true)
if [ "$names_before" != "$names_after" ]; then
    files_ok=0
    echo "soak: the program folder's files changed: $(echo $names_after)"
fi

echo "== soak: ${soak_seconds} s =="
echo "boxes_shown $shown"
echo "boxes_closed $closed"
echo "history_entries ${history_entries:-0}"
echo "boxes_missed $missed"
echo "close_time $latency"
echo "log_entries ${entries:-none}"
echo "closed_and_logged_once $logged_once"
echo "logged_twice $logged_twice"
echo "closed_not_logged $not_logged"
echo "logged_not_closed $logged_not_closed"
echo "hung_box_entries $hung_entries"
echo "second_starts ${#second_codes[@]} exit codes: ${second_codes[*]:-none}"
echo "list_edits $edit_n"
echo "rss_kb start $rss_start, after the first minute ${rss_warm:-n/a}, end $rss_end"
[ -n "$rss_warm" ] && echo "rss_growth_after_warmup_kb $((rss_end - rss_warm))"
echo "rss_samples ${rss_samples[*]}"
echo "user_files_as_expected $files_ok"
echo "vantor_crashed $crashed"
echo "vantor_exit_code $vantor_code"

ok=1
[ "$missed" = 0 ] && [ "$closed" = $((4 * boxes_each)) ] || ok=0
[ "$logged_once" = "$closed" ] && [ "$logged_twice" = 0 ] && [ "$logged_not_closed" = 0 ] || ok=0
[ "$hung_entries" = 1 ] || ok=0
[ "$files_ok" = 1 ] && [ "$crashed" = 0 ] && [ "$vantor_code" = 0 ] || ok=0
for c in "${second_codes[@]}"; do [ "$c" = 0 ] || ok=0; done
if [ -n "$rss_warm" ] && [ $((rss_end - rss_warm)) -gt 1024 ]; then ok=0; fi
echo "soak_result $([ $ok = 1 ] && echo pass || echo FAIL)"
[ $ok = 1 ]
