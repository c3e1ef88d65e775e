#!/usr/bin/env bash
# Measures the editor's resident memory under a virtual X server around the first speak command
# (F3) of a run, in the dictionary reading and in the automatic reading: the analyzer must cost
# nothing until the automatic reading first needs it. Needs xvfb and xdotool (Debian packages).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=../tests/e2e/xvfb_server.sh
. tests/e2e/xvfb_server.sh
yomi6=$(realpath "${1:-build/src/yomi6}")
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" PULSE_SERVER=unix:/nonexistent
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/xvfb" 1280x800x24

python3 - <<'PY'
line = "東京都の一般的な会社で、二千二十六年に新しい漢字の読み方を調べました。\r\n".encode("cp932")
open("text.txt", "wb").write((line * 60)[:4000])
PY

rss() { grep VmRSS "/proc/$1/status" | awk '{print $2}'; }
for mode in 0 1; do
  printf '[よみあげPadのセッティング]\r\n読み方=%s\r\nしゃべるスピード=10\r\n' "$mode" |
    iconv -f utf-8 -t cp932 >"$XDG_CONFIG_HOME/yomi6.ini"
  "$yomi6" text.txt &
  pid=$!
  sleep 4
  before=$(rss "$pid")
  window=$(xdotool search --sync --pid "$pid" --onlyvisible | head -1)
  xdotool windowfocus --sync "$window"
  xdotool key F3
  sleep 6
  after=$(rss "$pid")
  echo "読み方=$mode: before F3 ${before} kB, after the first F3 ${after} kB resident (+$((after - before)) kB)"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
