#!/usr/bin/env bash
# Builds the release package: dist/vantor-<version>.zip, a program folder without a folder of
# its own inside (unpacked anywhere, it is ready to run):
#   vantor.exe, Language/Rus.lng, Vantor.html, Read_Me.txt, Read_Me_Rus.txt, LICENSE.txt
# The version is the one in CMakeLists.txt. The zip is a product of the Windows build (target
# "package", scripts/make_package.py), the same one the end-to-end tests unpack; this copies
# it to dist/. Installs what is missing first.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target package
build="$repo/build/windows"
version=$(tr -d '[:space:]' <"$build/vantor-version.txt")
mkdir -p dist
zip="$repo/dist/vantor-$version.zip"
cp "$build/vantor-$version.zip" "$zip"
echo "package: $zip ($(stat -c %s "$zip") bytes)"
