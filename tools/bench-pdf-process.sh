#!/usr/bin/env bash
# Times `yomi6 --pdf` as a whole process on the same 1,048,575 bytes laid out two ways: one
# line with no line end and no blank (no place to break but anywhere), and ordinary lines of
# 80 bytes. Printing must take time in proportion
# to the text, however its lines are cut. Needs hyperfine (Debian package).
# Usage: tools/bench-pdf-process.sh [YOMI6] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=$(realpath "${1:-build/src/yomi6}")
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
size = 1048575
words = b"abcdefghijklmnopqrstuvwxyz0123456789"
one = (words * (size // len(words) + 1))[:size]
open(f"{work}/one-line.txt", "wb").write(one)
lines = bytearray()
while len(lines) < size:
    lines += one[len(lines):len(lines) + 78] + b"\r\n"
open(f"{work}/lines.txt", "wb").write(lines[:size])
PY
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work"
hyperfine -N --runs "$runs" \
  -n "one line of 1,048,575 bytes" "$yomi6 --pdf $work/out.pdf $work/one-line.txt" \
  -n "1,048,575 bytes in 80-byte lines" "$yomi6 --pdf $work/out.pdf $work/lines.txt"
