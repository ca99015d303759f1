#!/usr/bin/env bash
# Idle resident memory of the real vantor.exe before and after its settings dialog was shown
# once, next to the minimal timer program (baseline_idle) and to the same program once it has
# shown one window with two common controls (baseline_dialog: what any such window costs
# under Wine: comctl32, the theme, fonts, the window's surface). Takes about half a minute.
# Usage: bash bench/wine/settings_memory.sh [BUILD_DIR]   (default build/windows)
# Everything runs on a private Xvfb and prefix under BUILD_DIR/wine-bench-settings; only
# those are ended at the end (our wineserver by WINEPREFIX, our Xvfb by pid).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bash "$repo/scripts/setup.sh"
build=${1:-$repo/build/windows}
if [ ! -f "$build/vantor.exe" ]; then
    cmake --preset windows -B "$build" >/dev/null
    cmake --build "$build" -j2 --target vantor
fi
build=$(cd "$build" && pwd)  # Wine wants an absolute prefix path
work=$build/wine-bench-settings
rm -rf "$work"
mkdir -p "$work/bin" "$work/vantor" "$work/baseline"
cc=x86_64-w64-mingw32-g++-posix
$cc -O2 -static -s -mwindows -o "$work/bin/baseline_idle.exe" "$repo/bench/wine/baseline_idle.cpp" \
    -lwinmm -luser32
# The same manifest as vantor.exe: common controls version 6.
sed 's/@PROJECT_VERSION@/1.0.0/' "$repo/resources/vantor.manifest.in" >"$work/bin/dialog.manifest"
printf '#include <windows.h>\n1 24 "dialog.manifest"\n' >"$work/bin/dialog.rc"
(cd "$work/bin" && x86_64-w64-mingw32-windres dialog.rc -O coff -o dialog.res.o)
$cc -O2 -static -s -mwindows -o "$work/bin/baseline_dialog.exe" \
    "$repo/bench/wine/baseline_dialog.cpp" "$work/bin/dialog.res.o" -lwinmm -luser32
$cc -O2 -static -s -o "$work/bin/post_message.exe" "$repo/bench/wine/post_message.cpp" -luser32
cp "$build/vantor.exe" "$work/vantor/"

source "$repo/bench/wine/world.sh"
wineserver -p

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
(cd "$work/vantor" && exec wine ./vantor.exe) >/dev/null 2>&1 &
vantor_pid=$!
(cd "$work/baseline" && exec wine "$work/bin/baseline_idle.exe") >/dev/null 2>&1 &
baseline_pid=$!
(cd "$work/baseline" && exec wine "$work/bin/baseline_dialog.exe") >/dev/null 2>&1 &
dialog_pid=$!
sleep 8  # start-up done, files written, the yardstick's window shown and hidden

report() {
    local v b d
    v=$(rss_kb $vantor_pid); b=$(rss_kb $baseline_pid); d=$(rss_kb $dialog_pid)
    echo "== $1 =="
    echo "vantor_rss_kb $v"
    echo "baseline_rss_kb $b"
    echo "baseline_dialog_rss_kb $d"
    echo "vantor_minus_baseline_kb $((v - b))"
    echo "vantor_minus_baseline_dialog_kb $((v - d))"
}
report "idle, the settings dialog never shown"

# Settings... from the tray menu (command 0x105 to the message window), then Cancel's close.
wine "$work/bin/post_message.exe" VantorMessageWindow 0x0111 0x105
sleep 2
wine "$work/bin/post_message.exe" VantorSettings 0x0010
sleep 5
report "idle, after the settings dialog was shown once and closed"
