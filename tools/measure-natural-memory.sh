#!/usr/bin/env bash
# Resident memory of `yomi6 --speak` speaking one text with the sample voice and with the
# natural voice, through a private PulseAudio server with a null sink
# (tests/e2e/pulse_server.sh). The process is watched every 50 ms: its own peak (VmHWM) and
# the peak of it and its engine processes together (the sum of their VmRSS at one moment).
#   tools/measure-natural-memory.sh [YOMI6]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
yomi6=$(realpath "${1:-$root/build/src/yomi6}")
[ -x "$yomi6" ] || { echo "measure-natural-memory.sh: $yomi6 is missing (build it first)" >&2; exit 1; }
export YOMI6_NATURAL_VOICE_DIR=${YOMI6_NATURAL_VOICE_DIR:-/work/shared/voices/tohoku-f01}
# shellcheck source=../tests/e2e/pulse_server.sh
. "$root/tests/e2e/pulse_server.sh"
work=$(mktemp -d)
trap 'stop_pulse; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

python3 - "$root/tests/accuracy/literary.tsv" "$work/t.txt" <<'PY'
import sys
sentences = [l.split("\t")[1] for l in open(sys.argv[1], encoding="utf-8")
             if not l.startswith("#") and l.count("\t") >= 2][:6]
open(sys.argv[2], "wb").write(("\r\n".join(sentences) + "\r\n").encode("cp932", "replace"))
PY
start_pulse "$work/server" >/dev/null || exit 1

kb() { awk -v k="$2" '$1 == k":" { print $2 }' "/proc/$1/status" 2>/dev/null || true; }
watch_run() { # label, arguments...
  local label=$1 pid own=0 tree=0 hwm sum rss child
  shift
  "$yomi6" "$@" "$work/t.txt" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    hwm=$(kb "$pid" VmHWM)
    [ -n "$hwm" ] && [ "$hwm" -gt "$own" ] && own=$hwm
    sum=$(kb "$pid" VmRSS)
    sum=${sum:-0}
    for child in $(pgrep -P "$pid" || true); do
      rss=$(kb "$child" VmRSS)
      sum=$((sum + ${rss:-0}))
    done
    [ "$sum" -gt "$tree" ] && tree=$sum
    sleep 0.05
  done
  wait "$pid" || true
  printf '%s\t%d\t%d\n' "$label" "$own" "$tree" >>"$work/rows"
}
watch_run samples --speak
watch_run natural --engine natural --speak
python3 - "$work/rows" <<'PY'
import sys
rows = {l.split("\t")[0]: [int(v) for v in l.split("\t")[1:]] for l in open(sys.argv[1])}
s, n = rows["samples"], rows["natural"]
print("sample voice : yomi6 peak %6.1f MB; with its engine processes %6.1f MB" % (s[0] / 1024, s[1] / 1024))
print("natural voice: yomi6 peak %6.1f MB; with its engine processes %6.1f MB" % (n[0] / 1024, n[1] / 1024))
print("natural over samples: %+.1f MB (yomi6), %+.1f MB (with the engine processes)" % (
    (n[0] - s[0]) / 1024, (n[1] - s[1]) / 1024))
PY
