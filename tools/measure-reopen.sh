#!/usr/bin/env bash
# Measures reopening a book at its kept place under a virtual X server: the time from start to
# the first painted document window for a 1,048,575-byte Shift-JIS file, without a kept place
# and with one near its end (the place is offered, and the caret moved and scrolled there,
# before the window shows, so the first paint shows it). The difference is what reopening at
# the place costs. Needs xvfb and hyperfine (Debian packages).
#   tools/measure-reopen.sh [YOMI6]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=../tests/e2e/xvfb_server.sh
. tests/e2e/xvfb_server.sh
yomi6=$(realpath "${1:-build/src/yomi6}")
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" PULSE_SERVER=unix:/nonexistent
mkdir -p "$XDG_RUNTIME_DIR" "$work/fresh" "$work/kept/yomi6" && chmod 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/xvfb" 1280x800x24

# The book, and its place book with the last place nine tenths in: the text as the editor holds
# it ('\n' line breaks), its hash (FNV-1a over the UTF-16 units' bytes) and the place's context.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
line = "漢字とかなの行です。これは読み上げの試験に使う文章です。\r\n".encode("cp932")
data = (line * (1048575 // len(line) + 1))[:1048575]
open(f"{work}/big.txt", "wb").write(data)
text = data.decode("cp932", errors="replace").replace("\r\n", "\n")
units = text.encode("utf-16-le")
h = 14695981039346656037
for b in units:
    h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
position = len(text) * 9 // 10
before, after = text[max(0, position - 16):position], text[position:position + 16]
esc = lambda s: s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
with open(f"{work}/kept/yomi6/places.txt", "w", encoding="utf-8") as f:
    f.write("yomi6 places 1\n")
    f.write(f"file\t{esc(work + '/big.txt')}\t{h:016x}\n")
    f.write(f"last\t{position}\t{esc(before)}\t{esc(after)}\n")
PY

YOMI6_EXIT_AFTER_FIRST_PAINT=1 hyperfine -N --warmup 3 --runs "${RUNS:-20}" \
  -n "1 MB file, no kept place" "env XDG_DATA_HOME=$work/fresh $yomi6 big.txt" \
  -n "1 MB file, reopened at its kept place" "env XDG_DATA_HOME=$work/kept $yomi6 big.txt"
