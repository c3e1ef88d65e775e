#!/usr/bin/env bash
# The pauses between sentences of `yomi6 --speak --engine natural` as heard, against the text's
# own pauses: a text of several sentences is spoken through a private PulseAudio server with a
# null sink (tests/e2e/pulse_server.sh) while the sink's monitor is recorded, at the slowest,
# the default and the fastest speed, with busy loops running beside it. The same text rendered
# by --wav holds the engine's own pauses (its sil and pau labels, cut as every chunk is cut):
# the script prints how much longer the speech heard lasts than the rendering's (what the
# pauses were lengthened by, in all) and the longest pause of each.
#   tools/measure-natural-gaps.sh [YOMI6] [--load N] [--speeds "1000 180 0"]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
yomi6=$root/build/src/yomi6
load=2
speeds="1000 180 0"
while [ $# -gt 0 ]; do
  case $1 in
    --load) load=$2; shift 2 ;;
    --speeds) speeds=$2; shift 2 ;;
    *) yomi6=$(realpath "$1"); shift ;;
  esac
done
[ -x "$yomi6" ] || { echo "measure-natural-gaps.sh: $yomi6 is missing (build it first)" >&2; exit 1; }
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
export XDG_CONFIG_HOME=$work/config

# Eight sentences of the literary test set, short and long, on one line and on lines of their own.
python3 - "$root/tests/accuracy/literary.tsv" "$work/t.txt" <<'PY'
import sys
sentences = [l.split("\t")[1] for l in open(sys.argv[1], encoding="utf-8")
             if not l.startswith("#") and l.count("\t") >= 2][:8]
text = "".join(sentences[:4]) + "\r\n" + "\r\n".join(sentences[4:]) + "\r\n"
open(sys.argv[2], "wb").write(text.encode("cp932", "replace"))
PY

start_pulse "$work/server" >/dev/null || exit 1
start_busy "$load"
sleep 2 # let the load average see the loops

for speed in $speeds; do
  "$yomi6" --engine natural --speed "$speed" --wav "$work/own.wav" "$work/t.txt"
  sox "$work/own.wav" -t raw -e signed -b 16 -c 1 -r 44100 "$work/own.raw"
  record_start "$work/heard.raw" >/dev/null || exit 1
  "$yomi6" --engine natural --speed "$speed" --speak "$work/t.txt"
  record_stop 1.0
  python3 - "$work/own.raw" "$work/heard.raw" "$speed" "$(cut -d' ' -f1 /proc/loadavg)" <<'PY'
import math, struct, sys
def pauses(path):
    # Runs of 10 ms windows quieter than -45 dBFS between the first and the last speech, each
    # keyed by how many windows of speech come before it: the same in the rendering and in
    # the recording, however long the pauses between them were.
    data = open(path, "rb").read()
    x = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
    n = 441
    loud = []
    for i in range(0, len(x) - n + 1, n):
        s = sum(v * v for v in x[i : i + n]) / n
        loud.append(s > 0 and 10 * math.log10(s / 32768.0**2) > -45)
    if True not in loud:
        return [], 0
    first, last = loud.index(True), len(loud) - 1 - loud[::-1].index(True)
    runs, k, spoken = [], first, 0
    while k <= last:
        if loud[k]:
            spoken += 1
            k += 1
            continue
        j = k
        while j <= last and not loud[j]:
            j += 1
        runs.append((spoken, (j - k) * 10))
        k = j
    return runs, (last - first + 1) * 10
own, own_span = pauses(sys.argv[1])
heard, heard_span = pauses(sys.argv[2])
# The player never shortens a pause (a chunk starts where the one before ends, or later when
# it was late), so the speech heard lasts longer than the rendering's by the sum of what every
# pause was lengthened by: that sum bounds the excess of any one pause over its own.
print("speed %4s (load %s): speech heard over %.2f s, rendered over %.2f s: pauses longer by "
      "%+d ms in all; longest pause heard %d ms, longest of the text's own %d ms" % (
          sys.argv[3], sys.argv[4], heard_span / 1000, own_span / 1000, heard_span - own_span,
          max((m for _, m in heard), default=0), max((m for _, m in own), default=0)))
PY
done
