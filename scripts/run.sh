#!/usr/bin/env bash
# Installs what is missing, builds vantor.exe (windows preset) and runs it under Wine.
#
#   bash scripts/run.sh [OPTION WORDS...]   with DISPLAY set: Vantor on your display, in a
#                                           persistent prefix ~/.local/share/vantor/wineprefix;
#                                           its program folder (Vantor.ini and the list files)
#                                           is ~/.local/share/vantor/program.
#   bash scripts/run.sh --demo              (or no DISPLAY): a short headless demo on a
#                                           private Xvfb and prefix; prints the screenshot's path.
#
# VANTOR_CP1251=1 runs Vantor on your display as on a code page 1251 system (Russian locale,
# English system dialogs); the demo always does.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

demo=0
if [ "${1:-}" = "--demo" ]; then
    demo=1
    shift
fi
[ -n "${DISPLAY:-}" ] || demo=1

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2
build="$repo/build/windows"
exe="$build/vantor.exe"
# shellcheck source=wine_env.sh
source "$repo/scripts/wine_env.sh"
wine_quiet_env

# The files Vantor reads but does not build in go beside the exe: the language file, the user
# guide and the read-me texts. A copy the user has edited since (newer) is kept.
place_program_files() {
    mkdir -p "$1/Language"
    cp -u "$repo/Language/Rus.lng" "$1/Language/Rus.lng"
    cp -u "$repo/help/Vantor.html" "$repo/help/Read_Me.txt" "$repo/help/Read_Me_Rus.txt" "$1/"
}

if [ "$demo" = 0 ]; then
    home="${XDG_DATA_HOME:-$HOME/.local/share}/vantor"
    export WINEPREFIX="$home/wineprefix"
    if [ "${VANTOR_CP1251:-0}" = 1 ]; then
        wine_cp1251_locale "$home/locale" || { echo "run: cannot generate the ru_RU locale"; exit 1; }
        wine_cp1251_env "$home/locale"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "run: creating the Wine prefix $WINEPREFIX (once)"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
    fi
    mkdir -p "$home/program"
    cp "$exe" "$home/program/vantor.exe"
    place_program_files "$home/program"
    echo "run: starting $home/program/vantor.exe"
    cd "$home/program"
    exec wine "$home/program/vantor.exe" "$@"
fi

# ---- headless demo: everything below is private to this run and ended by its pids ----
run=$(mktemp -d "${TMPDIR:-/tmp}/vantor-demo.XXXXXX")
cleanup() { bash "$repo/tests/e2e/bench/cleanup.sh" "$run" >/dev/null 2>&1 || true; }
trap cleanup EXIT
trap 'exit 130' INT TERM

VANTOR_E2E_DRIVER_PID=$$ bash "$repo/tests/e2e/bench/setup.sh" "$run" "$build/e2e-locale" \
    "$build/tests/e2e/tools/desktop_keeper.exe"
# shellcheck disable=SC1091
source "$run/bench.env"

program="$run/program"
mkdir -p "$program"
cp "$exe" "$program/vantor.exe"
place_program_files "$program"
echo "demo: starting vantor.exe in $program"
(cd "$program" && exec wine "$program/vantor.exe" "$@" </dev/null >>"$run/vantor.log" 2>&1) &
vantor_pid=$!

# A first start writes the settings file and the seven list files; give it up to 10 s (a
# program that stays in the tray keeps running, one that only prepares its folder ends).
for _ in $(seq 100); do
    [ "$(find "$program" -maxdepth 1 -name '*.ini' | wc -l)" -ge 8 ] && break
    kill -0 "$vantor_pid" 2>/dev/null || break
    sleep 0.1
done
sleep 2
echo "demo: files in the program folder:"
LC_ALL=C ls -l "$program"

# Another program shows a message box; Vantor presses OK for it and shows the message in its
# own window at the lower right corner, for the next few seconds.
box_tool="$build/tests/e2e/tools/show_message_box.exe"
echo "demo: a program shows a message box ..."
start=$(date +%s%N)
box_result=$(wine "$box_tool" "Demo" "Vantor closed this message box.\r\nIt is logged and shown here." \
    </dev/null 2>/dev/null | tr -d '\r' || true)
echo "demo: ... the box was answered after $((($(date +%s%N) - start) / 1000000)) ms (${box_result:-no result})"
sleep 0.5

shot="$run/screenshot.png"
xwd -root -silent -display "$DISPLAY" | convert xwd:- "png:$shot"
echo "demo: screenshot (the message window at the lower right corner): $shot"
