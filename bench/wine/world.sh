# Sourced by the Wine benchmarks with $work set: starts a private Xvfb and a fresh Wine
# prefix under $work, and ends exactly those on exit (our wineserver by WINEPREFIX, our
# Xvfb by pid).
xvfb_pid=""
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
    </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
# Without a window manager, unmanaged windows keep clicks fast (see the Wine notes).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
