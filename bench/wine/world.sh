# Sourced by the Wine benchmarks with $work set: starts a private Xvfb and a fresh Wine
# prefix under $work, and ends exactly those on exit (our wineserver by WINEPREFIX, our
# Xvfb by pid).
xvfb_pid=""
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# shellcheck source=../../scripts/wine_env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_env.sh"
wine_start_xvfb "$work" || { echo "bench: Xvfb did not start"; exit 1; }
export WINEPREFIX="$work/prefix" WINEARCH=win64
wine_quiet_env
wineboot -i >/dev/null 2>&1
# Without a window manager, unmanaged windows keep clicks fast (see the Wine notes).
wine_unmanaged
wineserver -w
# VANTOR_BENCH_DESKTOP=1: everything in one Wine virtual desktop (as the end-to-end bench and
# the run command), where windows are drawn by Wine rather than being X windows of their own.
if [ "${VANTOR_BENCH_DESKTOP:-0}" = 1 ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d bench /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v bench /d 1280x1024 /f >/dev/null 2>&1
    wineserver -w
fi
