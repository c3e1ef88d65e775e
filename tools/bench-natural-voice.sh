#!/usr/bin/env bash
# Figures of the natural voice said in our own process, from whole processes (never timed
# tests):
#  - CPU per second of audio: `yomi6 --engine natural --wav` on SENTENCES sentences of the
#    literary test set (one worker; the whole run: start, the voice's four styles loaded, our
#    reading, our labels, synthesis, the file) against bare open_jtalk run once per sentence on
#    the same sentences;
#  - time to the first block of a short sentence, the voice loaded before
#    (build/bench/natural_voice_first_block).
# Usage: tools/bench-natural-voice.sh [BUILD_DIR] [VOICE_DIR] [SENTENCES]  (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath "${1:-build}")
voices=$(realpath "${2:-${YOMI6_NATURAL_VOICE_DIR:-$root/voices/tohoku-f01}}")
count=${3:-30}
dic=/var/lib/mecab/dic/open-jtalk/naist-jdic
voice=$voices/tohoku-f01-neutral.htsvoice
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$root/tests/accuracy/literary.tsv" "$count" >"$work/sentences.txt" <<'PY'
import sys
src, count = sys.argv[1], int(sys.argv[2])
sentences = [l.split("\t")[1] for l in open(src, encoding="utf-8")
             if not l.startswith("#") and l.count("\t") >= 2]
print("\n".join(sentences[:count]))
PY
iconv -f utf-8 -t cp932 "$work/sentences.txt" >"$work/sentences.sjis" 2>/dev/null ||
  iconv -f utf-8 -t cp932//TRANSLIT "$work/sentences.txt" >"$work/sentences.sjis"

cpu_of() { # command... ; prints user+system seconds of it
  /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>>"$work/stderr"
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}

bare_cpu=0
bare_s=0
while IFS= read -r line; do
  printf '%s\n' "$line" >"$work/line.txt"
  c=$(cpu_of /usr/bin/open_jtalk -x "$dic" -m "$voice" -ow "$work/bare.wav" "$work/line.txt")
  bare_cpu=$(echo "$bare_cpu + $c" | bc -l)
  bare_s=$(echo "$bare_s + $(soxi -D "$work/bare.wav")" | bc -l)
done <"$work/sentences.txt"

export YOMI6_NATURAL_VOICE_DIR="$voices" YOMI6_NATURAL_WORKERS=1
export XDG_CONFIG_HOME="$work/config"
our_cpu=$(cpu_of "$build/src/yomi6" --engine natural --wav "$work/ours.wav" "$work/sentences.sjis")
our_s=$(soxi -D "$work/ours.wav")

bare=$(echo "$bare_cpu / $bare_s" | bc -l)
ours=$(echo "$our_cpu / $our_s" | bc -l)
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'open_jtalk once per sentence: %.3f s CPU for %.1f s of audio: %.4f s CPU per s\n' \
  "$bare_cpu" "$bare_s" "$bare"
printf 'yomi6 --engine natural --wav:  %.3f s CPU for %.1f s of audio: %.4f s CPU per s\n' \
  "$our_cpu" "$our_s" "$ours"
printf 'ours / bare: %.2f\n' "$(echo "$ours / $bare" | bc -l)"

printf '今日は良い天気ですね。' | iconv -f utf-8 -t cp932 >"$work/short.txt"
"$build/bench/natural_voice_first_block" "$work/short.txt" "$voices" 9
