#!/usr/bin/env bash
# First sound after F3 with the natural voice, through the editor's own path: the editor's test
# program (offscreen, a private PulseAudio server with a null sink) presses F3 on
# 「今日は雨が降る。」 and prints when its first mora sounds on the player's clock; this runs it
# RUNS times and reports the median and the 90th percentile, idle and beside two busy loops.
#   tools/measure-first-sound.sh [BUILD_DIR] [--runs N] [--load "0 2"]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
runs=11
loads="0 2"
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --load) loads=$2; shift 2 ;;
    *) build=$(realpath "$1"); shift ;;
  esac
done
test_binary=$build/tests/natural_voice_test
[ -x "$test_binary" ] || { echo "measure-first-sound.sh: $test_binary is missing (build it first)" >&2; exit 1; }
export YOMI6_NATURAL_VOICE_DIR=${YOMI6_NATURAL_VOICE_DIR:-/work/shared/voices/tohoku-f01}
# shellcheck source=../tests/e2e/pulse_server.sh
. "$root/tests/e2e/pulse_server.sh"
# shellcheck source=busy_loops.sh
. "$root/tools/busy_loops.sh"

work=$(mktemp -d)
cleanup() {
  stop_busy
  stop_pulse
  rm -rf "$work"
}
trap cleanup EXIT
start_pulse "$work/server" >/dev/null || exit 1

for load in $loads; do
  start_busy "$load"
  : >"$work/ms"
  for _ in $(seq 1 "$runs"); do
    QT_QPA_PLATFORM=offscreen "$test_binary" f3SpeaksEachMoraOnTheHighlightInOrderWhenItSounds \
      2>&1 | sed -n 's/.*first mora sounds \(-\?[0-9]\+\) ms after F3.*/\1/p' >>"$work/ms" || true
  done
  avg=$(cut -d' ' -f1 /proc/loadavg)
  stop_busy
  python3 - "$work/ms" "$load" "$avg" "$runs" <<'PY'
import sys
ms = sorted(int(l) for l in open(sys.argv[1]) if l.strip())
if not ms:
    sys.exit("no run printed its first sound")
p90 = ms[min(len(ms) - 1, round(0.9 * (len(ms) - 1)))]
print("busy loops %s (load average %s): first sound %d ms median, %d ms 90th percentile, "
      "%d-%d ms (%d of %s runs)" % (sys.argv[2], sys.argv[3], ms[len(ms) // 2], p90, ms[0],
                                     ms[-1], len(ms), sys.argv[4]))
PY
done
