#!/usr/bin/env bash
# Measures the resident memory of the editor with a 1,048,575-byte Shift-JIS file open, first in
# one window, then with a second window on the same document ("新しいｳｨﾝﾄﾞｳを開く(&N)",
# typed as Alt+W N). Needs xvfb and xdotool (Debian packages).
# Usage: tools/measure-document-windows.sh [path to yomi6]
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=$(realpath "${1:-build/src/yomi6}")
work=$(mktemp -d)
trap 'kill "${pid:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" PULSE_SERVER=unix:/nonexistent
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb :96 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:96 QT_QPA_PLATFORM=xcb
sleep 1

python3 - <<'PY'
line = "漢字とかなの行です。これは読み上げの試験に使う文章です。\r\n".encode("cp932")
data = (line * (1048575 // len(line) + 1))[:1048575]
open("big.txt", "wb").write(data)
PY

rss() { grep VmRSS "/proc/$pid/status" | awk '{print $2}'; }
"$yomi6" big.txt &
pid=$!
sleep 4
echo "1 MB document, one window:  $(rss) kB resident"
window=$(xdotool search --sync --pid "$pid" --onlyvisible --name . | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+w
sleep 0.5
xdotool key --window "$window" n
sleep 4
echo "1 MB document, two windows: $(rss) kB resident"
