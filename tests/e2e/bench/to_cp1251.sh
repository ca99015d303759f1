#!/usr/bin/env bash
# Turns an expected-content file written as UTF-8 with LF line ends into the bytes the
# program writes: code page 1251, CR LF between lines, no line end after the last line.
# Usage: to_cp1251.sh INPUT.utf8 OUTPUT
set -euo pipefail
mkdir -p "$(dirname "$2")"
iconv -f UTF-8 -t CP1251 "$1" |
    LC_ALL=C awk 'NR > 1 { printf "\r\n" } { printf "%s", $0 }' >"$2.tmp"
mv "$2.tmp" "$2"
