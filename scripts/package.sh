#!/usr/bin/env bash
# Builds the release package: dist/vantor-<version>.zip, a program folder without a folder of
# its own inside (unpacked anywhere, it is ready to run):
#   vantor.exe, Language/Rus.lng, Vantor.html, Read_Me.txt, Read_Me_Rus.txt, LICENSE.txt
# The version is the one in CMakeLists.txt. Installs what is missing first.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target vantor
build="$repo/build/windows"
version=$(tr -d '[:space:]' <"$build/vantor-version.txt")
mkdir -p dist
zip="$repo/dist/vantor-$version.zip"

# Fixed names, order and times, so the same sources give the same bytes.
python3 - "$zip" "$build/vantor.exe" <<'PY'
import sys, zipfile
out, exe = sys.argv[1], sys.argv[2]
files = [
    (exe, "vantor.exe"),
    ("Language/Rus.lng", "Language/Rus.lng"),
    ("help/Vantor.html", "Vantor.html"),
    ("help/Read_Me.txt", "Read_Me.txt"),
    ("help/Read_Me_Rus.txt", "Read_Me_Rus.txt"),
]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for source, name in files:
        info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        with open(source, "rb") as f:
            z.writestr(info, f.read())
    # The licence as a Windows user opens it: CR LF line ends.
    with open("LICENSE", "rb") as f:
        text = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    info = zipfile.ZipInfo("LICENSE.txt", date_time=(2026, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    z.writestr(info, text)
PY
echo "package: $zip ($(stat -c %s "$zip") bytes)"
