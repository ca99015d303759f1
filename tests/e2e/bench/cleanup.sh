#!/usr/bin/env bash
# Ends what setup.sh started for one run, and only that: the wineserver of our own prefix
# (which takes every Wine process of the prefix with it), our Xvfb and our watchdog, each by
# the pid recorded at start. The prefix is deleted unless VANTOR_E2E_KEEP_PREFIX=1; the
# tests' work folders stay for inspection.
# Usage: cleanup.sh RUN_DIR
set -uo pipefail
run=$1
[ -f "$run/bench.env" ] || exit 0
# shellcheck disable=SC1091
source "$run/bench.env"

# True when pid is alive and its command line holds the given word (guards against a
# recycled pid belonging to someone else).
ours() { [ -n "$1" ] && grep -qa -- "$2" "/proc/$1/cmdline" 2>/dev/null; }

server_tag=
if [ -d "$WINEPREFIX" ]; then
    # The server's socket folder is named after the prefix's device and inode.
    read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
    server_tag=$(printf 'server-%x-%x' "$dev" "$ino")
    wineserver -k >/dev/null 2>&1
    timeout 15 wineserver -w >/dev/null 2>&1
fi

xvfb_pid=$(cat "$run/xvfb.pid" 2>/dev/null || true)
if ours "$xvfb_pid" Xvfb; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 50); do ours "$xvfb_pid" Xvfb || break; sleep 0.1; done
    ours "$xvfb_pid" Xvfb && kill -9 "$xvfb_pid" 2>/dev/null
fi

# Removing bench.env also tells the watchdog that the run is over.
rm -f "$run/bench.env"
watchdog_pid=$(cat "$run/watchdog.pid" 2>/dev/null || true)
if [ "$watchdog_pid" != "$PPID" ] && ours "$watchdog_pid" watchdog; then
    kill "$watchdog_pid" 2>/dev/null
fi

if [ "${VANTOR_E2E_KEEP_PREFIX:-0}" != 1 ]; then
    rm -rf "$WINEPREFIX"
    # Our ended server's socket folder (/tmp/wine-XXXXXX/server-<dev>-<inode>), if any.
    if [ -n "$server_tag" ]; then
        for dir in "${TMPDIR:-/tmp}"/wine-*/"$server_tag" /tmp/.wine-"$(id -u)"/"$server_tag"; do
            [ -d "$dir" ] || continue
            rm -rf "$dir"
            rmdir "$(dirname "$dir")" 2>/dev/null || true
        done
    fi
fi
echo "bench: cleaned up $run"
exit 0
