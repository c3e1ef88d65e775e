#!/usr/bin/env bash
# Measures the editor under a virtual X server: the time from start to the first painted
# document window (with one new document, and with a 1,048,575-byte Shift-JIS file), and the
# memory of an idle editor with one document. Needs xvfb and hyperfine (Debian packages).
#   [RUNS=N] tools/measure-editor.sh [YOMI6]     (RUNS: hyperfine's runs of each, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=../tests/e2e/xvfb_server.sh
. tests/e2e/xvfb_server.sh
yomi6=$(realpath "${1:-build/src/yomi6}")
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" PULSE_SERVER=unix:/nonexistent
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/xvfb" 1280x800x24

# A Shift-JIS file of exactly 1,048,575 bytes: lines of kana and kanji.
python3 - <<'PY'
line = "漢字とかなの行です。これは読み上げの試験に使う文章です。\r\n".encode("cp932")
data = (line * (1048575 // len(line) + 1))[:1048575]
open("big.txt", "wb").write(data)
PY

YOMI6_EXIT_AFTER_FIRST_PAINT=1 hyperfine -N --warmup 3 --runs "${RUNS:-20}" \
  -n "start to first paint, new document" "$yomi6" \
  -n "start to first paint, 1 MB file" "$yomi6 big.txt"

"$yomi6" &
pid=$!
sleep 3
echo "idle editor with one document: $(grep VmRSS /proc/$pid/status | awk '{print $2}') kB resident"
kill "$pid"
wait "$pid" 2>/dev/null || true
