#!/usr/bin/env bash
# Takes the README's pictures of the real program on the e2e bench (a private Xvfb and Wine
# prefix with a virtual desktop and taskbar) and writes them to docs/images/ as PNG files:
#   message-window.png    a closed message at the corner, the tray icon below
#   tray-menu.png         the tray menu open over the icon
#   settings-english.png  the settings dialog, built-in English
#   settings-russian.png  the settings dialog with Language\Rus.lng
#   spy.png               the spy over another program's dialog
#   message-window-144dpi.png, settings-english-144dpi.png
#                         the same two at a display scale of 150 % (a second bench at 144 DPI)
# The scenes are tests/e2e/screens/screenshots.cpp. Ends only what it started (its Xvfb and
# its prefix's wineserver, through the bench's cleanup). Installs what is missing first.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target screenshots desktop_keeper
build="$repo/build/windows"
bench="$repo/tests/e2e/bench"

run=$(mktemp -d "${TMPDIR:-/tmp}/vantor-screenshots.XXXXXX")
scaled="$run-144dpi"
cleanup() {
    bash "$bench/cleanup.sh" "$run" >/dev/null 2>&1 || true
    bash "$bench/cleanup.sh" "$scaled" >/dev/null 2>&1 || true
    rm -rf "$run" "$scaled"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

VANTOR_E2E_DRIVER_PID=$$ bash "$bench/setup.sh" "$run" "$build/e2e-locale" \
    "$build/tests/e2e/tools/desktop_keeper.exe"
# shellcheck disable=SC1091
source "$run/bench.env"

shots="$run/pictures"
mkdir -p "$shots"
shots_windows=$(winepath -w "$shots" 2>/dev/null)  # drive Z: is "/" in both prefixes
VANTOR_SCREENSHOTS_DIR=$shots_windows \
    bash "$bench/run_test.sh" "$run" screenshots "$build/tests/e2e/screens/screenshots.exe"

bash "$bench/cleanup.sh" "$run" >/dev/null 2>&1 || true

# The message window and the settings dialog at 150 %, on a bench of their own.
VANTOR_E2E_DRIVER_PID=$$ VANTOR_E2E_DPI=144 bash "$bench/setup.sh" "$scaled" \
    "$build/e2e-locale" "$build/tests/e2e/tools/desktop_keeper.exe"
VANTOR_SCREENSHOTS_DIR=$shots_windows VANTOR_SCREENSHOTS_SUFFIX=-144dpi \
    bash "$bench/run_test.sh" "$scaled" screenshots "$build/tests/e2e/screens/screenshots.exe" \
    --gtest_filter='Pictures.MessageWindow*:Pictures.SettingsDialogInEnglish'

mkdir -p docs/images
for bmp in "$shots"/*.bmp; do
    png="docs/images/$(basename "${bmp%.bmp}").png"
    # No time chunks, so the same picture gives the same bytes.
    convert "$bmp" -strip -define png:compression-level=9 \
        -define png:exclude-chunks=date,time "$png"
    echo "screenshots: $png ($(identify -format '%wx%h' "$png"), $(stat -c %s "$png") bytes)"
done
