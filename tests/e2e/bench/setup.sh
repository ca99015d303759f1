#!/usr/bin/env bash
# Brings up the private Windows world of one end-to-end run and writes RUN_DIR/bench.env:
#   - its own Xvfb 1280x1024x24 (Xvfb picks a free display itself, so parallel runs of
#     several people or CI never share a display),
#   - a fresh Wine prefix with a persistent wineserver, Managed=N and, unless
#     VANTOR_E2E_DESKTOP=0, one virtual desktop for the whole prefix, named "shell": Wine
#     gives only that name a taskbar with a notification area (for tray screenshots),
#   - the display scale VANTOR_E2E_DPI (LogPixels; 96 when unset),
#   - code page 1251 through a locally generated ru_RU.UTF-8 locale; English system dialogs
#     unless VANTOR_E2E_RUSSIAN=1,
#   - no crash dialog: a program that crashes ends with its exception code instead of waiting
#     for a click on Wine's "Program Error" dialog,
#   - a watchdog that tears all of it down if the test driver vanishes without cleanup.
#   - a desktop keeper program, so that the desktop (with its taskbar) lives through the run
#     instead of being rebuilt for every test program.
# Usage: setup.sh RUN_DIR LOCALE_DIR DESKTOP_KEEPER.exe
set -euo pipefail
run=$1
locales=$2
keeper=$3
here=$(cd "$(dirname "$0")" && pwd)
wine_env=$(cd "$here/../../../scripts" && pwd)/wine_env.sh
# shellcheck source=../../../scripts/wine_env.sh
source "$wine_env"
started=$(date +%s.%N)

# A previous run whose driver was killed before its cleanup: end what it started first.
if [ -f "$run/bench.env" ]; then bash "$here/cleanup.sh" "$run" || true; fi
rm -rf "$run"
mkdir -p "$run/work"

# --- locale for code page 1251 (generated once per build tree) ---
if ! wine_cp1251_locale "$locales"; then
    echo "bench: cannot generate the ru_RU.UTF-8 locale (is the 'locales' package installed?)"
    cat "$locales/localedef.log"
    exit 1
fi

# --- X server ---
xvfb_started=0
wine_start_xvfb "$run" && xvfb_started=1
echo "$xvfb_pid" >"$run/xvfb.pid"
if [ "$xvfb_started" = 0 ]; then
    echo "bench: Xvfb did not start"
    cat "$run/xvfb.log"
    bash "$here/cleanup.sh" "$run" || true
    exit 1
fi
display=$DISPLAY

# --- environment shared by every test of this run ---
desktop=${VANTOR_E2E_DESKTOP:-1}
{
    printf 'source %q\n' "$wine_env"
    printf 'wine_quiet_env\n'
    printf 'wine_cp1251_env %q %q\n' "$locales" "${VANTOR_E2E_RUSSIAN:-0}"
    printf 'export WINEPREFIX=%q WINEARCH=win64\n' "$run/prefix"
    printf 'export DISPLAY=%q\n' "$display"
    printf 'export VANTOR_E2E_RUN=%q\n' "$run"
    printf 'export VANTOR_E2E_RUSSIAN=%q\n' "${VANTOR_E2E_RUSSIAN:-0}"
    printf 'export VANTOR_E2E_DESKTOP=%q\n' "$desktop"
    printf 'VANTOR_XVFB_PID=%q\n' "$xvfb_pid"
} >"$run/bench.env"
# shellcheck disable=SC1091
source "$run/bench.env"

# --- watchdog: the driver (ctest) is our parent; if it dies, clean up after it ---
driver=${VANTOR_E2E_DRIVER_PID:-$PPID}
setsid bash -c '
    while kill -0 "$1" 2>/dev/null && [ -f "$2/bench.env" ]; do sleep 2; done
    [ -f "$2/bench.env" ] && bash "$3/cleanup.sh" "$2"
' watchdog "$driver" "$run" "$here" </dev/null >"$run/watchdog.log" 2>&1 &
echo "$!" >"$run/watchdog.pid"

# --- the prefix; every Wine process writes to a log file, never to ctest's pipes ---
prefix_started=$(date +%s.%N)
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >>"$run/wine.log" 2>&1
wineboot -i </dev/null >>"$run/wine.log" 2>&1
cat >"$run/bench.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
if [ "$desktop" = 1 ]; then
    cat >>"$run/bench.reg" <<REG

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"shell"="1280x1024"
REG
fi
# A display scale of its own (VANTOR_E2E_DPI, 96 = 100 %): Wine reads LogPixels at start.
dpi=${VANTOR_E2E_DPI:-96}
if [ "$dpi" != 96 ]; then
    cat >>"$run/bench.reg" <<REG

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")
REG
fi
wine regedit /S "$(winepath -w "$run/bench.reg" 2>/dev/null)" </dev/null >>"$run/wine.log" 2>&1
prefix_done=$(date +%s.%N)

setsid wine "$keeper" "$(winepath -w "$run/keeper.ready" 2>/dev/null)" \
    </dev/null >>"$run/keeper.log" 2>&1 &
for _ in $(seq 600); do
    [ -f "$run/keeper.ready" ] && break
    sleep 0.1
done
if [ ! -f "$run/keeper.ready" ]; then
    echo "bench: the desktop did not come up"
    cat "$run/keeper.log" "$run/wine.log"
    bash "$here/cleanup.sh" "$run" || true
    exit 1
fi
desktop_done=$(date +%s.%N)

printf 'bench: display %s, prefix %s, desktop %s, russian %s, dpi %s\n' \
    "$display" "$WINEPREFIX" "$desktop" "${VANTOR_E2E_RUSSIAN:-0}" "$dpi"
LC_ALL=C awk -v a="$started" -v b="$prefix_started" -v c="$prefix_done" -v d="$desktop_done" \
    'BEGIN { printf "bench: prefix created in %.1f s, desktop up in %.1f s, setup took %.1f s\n",
             c - b, d - c, d - a }' 
