#!/usr/bin/env bash
# Figures of the natural voice, from whole processes (never timed tests):
#  - CPU per second of audio: yomi6 --engine natural --wav (one chunk at a time) against bare
#    open_jtalk run once per sentence on the same sentences, and the sample engine's --wav;
#  - time to the first chunk's audio: --wav of the first chunk alone (what the pass must say
#    before the first sound), for a document whose first sentence is short;
#  - a 20 KB text rendered on every core against one chunk at a time;
#  - resident memory (peak RSS) of yomi6 and of one engine process, against the sample engine;
#  - the pitch range (10th-90th percentile of F0, in half-tones) of the same text in the
#    sample voice, the natural voice and bare open_jtalk (tests/e2e/f0_stats.py: median F0 in Hz,
#    then the range).
# Usage: tools/bench-natural.sh [YOMI6] [VOICE_DIR]  (needs build/bench/natural_first_sound)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
yomi6=$(realpath "${1:-build/src/yomi6}")
voices=${2:-${YOMI6_NATURAL_VOICE_DIR:-/work/shared/voices/tohoku-f01}}
export YOMI6_NATURAL_VOICE_DIR=$voices
dic=/var/lib/mecab/dic/open-jtalk/naist-jdic
voice=$voices/tohoku-f01-neutral.htsvoice
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

# Sentences of the literary test set: 30 for the CPU figures, and ~20 KB (Shift-JIS) for the
# multi-core one. One sentence per line, UTF-8 for the engine and Shift-JIS for yomi6.
python3 - "$root/tests/accuracy/literary.tsv" "$work" <<'PY'
import sys
src, work = sys.argv[1], sys.argv[2]
sentences = [l.split("\t")[1] for l in open(src, encoding="utf-8")
             if not l.startswith("#") and l.count("\t") >= 2]
short = sentences[:30]
open(f"{work}/short.utf8", "w", encoding="utf-8").write("\n".join(short) + "\n")
open(f"{work}/short.txt", "wb").write(("\r\n".join(short) + "\r\n").encode("cp932", "replace"))
big, size, k = [], 0, 0
while size < 20000:
    s = sentences[k % len(sentences)]
    big.append(s)
    size += len(s.encode("cp932", "replace")) + 2
    k += 1
open(f"{work}/big.txt", "wb").write(("\r\n".join(big) + "\r\n").encode("cp932", "replace"))
first = "はい。" + "".join(sentences[:5])
open(f"{work}/first.txt", "wb").write(first.encode("cp932", "replace"))
open(f"{work}/firstchunk.txt", "wb").write("はい。".encode("cp932"))
open(f"{work}/firstchunk.utf8", "w", encoding="utf-8").write("はい。\n")
pitch = "".join(sentences[:3])
open(f"{work}/pitch.txt", "wb").write(pitch.encode("cp932", "replace"))
open(f"{work}/pitch.utf8", "w", encoding="utf-8").write(pitch + "\n")
PY

seconds() { soxi -D "$1"; }
cpu_of() { # command... ; prints user+system seconds of it and its children
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>>"$work/stderr"
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
rss_of() { awk '{ print $3 }' "$work/time"; }

echo "== CPU per second of audio (30 sentences of tests/accuracy/literary.tsv)"
# --speed 140 is the engine's own rate 1, as bare open_jtalk speaks.
nat_cpu=$(YOMI6_NATURAL_WORKERS=1 cpu_of "$yomi6" --engine natural --speed 140 --wav "$work/nat.wav" "$work/short.txt")
nat_rss=$(rss_of)
nat_s=$(seconds "$work/nat.wav")
bare_cpu=0
bare_s=0
bare_rss=0
n=0
while IFS= read -r line; do
  n=$((n + 1))
  printf '%s\n' "$line" >"$work/line.txt"
  c=$(cpu_of /usr/bin/open_jtalk -x "$dic" -m "$voice" -ow "$work/bare$n.wav" "$work/line.txt")
  r=$(rss_of)
  bare_cpu=$(echo "$bare_cpu + $c" | bc -l)
  bare_s=$(echo "$bare_s + $(seconds "$work/bare$n.wav")" | bc -l)
  [ "$r" -gt "$bare_rss" ] && bare_rss=$r
done <"$work/short.utf8"
smp_cpu=$(cpu_of "$yomi6" --wav "$work/smp.wav" "$work/short.txt")
smp_rss=$(rss_of)
smp_s=$(seconds "$work/smp.wav")
printf '  sample engine : %6.3f s CPU for %6.2f s audio = %.4f CPU s per audio s\n' \
  "$smp_cpu" "$smp_s" "$(echo "$smp_cpu / $smp_s" | bc -l)"
printf '  natural engine: %6.3f s CPU for %6.2f s audio = %.4f CPU s per audio s\n' \
  "$nat_cpu" "$nat_s" "$(echo "$nat_cpu / $nat_s" | bc -l)"
printf '  bare open_jtalk: %5.3f s CPU for %6.2f s audio = %.4f CPU s per audio s (48 kHz, untrimmed)\n' \
  "$bare_cpu" "$bare_s" "$(echo "$bare_cpu / $bare_s" | bc -l)"
# Both say the same sentences, but the natural voice cuts the engine's silence around each one
# to a pause, which bare open_jtalk keeps: per second of audio as written, that silence counts for
# bare alone. The same speech costs what the CPU of the two runs says.
printf '  natural / bare, per second of audio as written: %.2fx (%.1f s of the engine'"'"'s silence cut)\n' \
  "$(echo "($nat_cpu / $nat_s) / ($bare_cpu / $bare_s)" | bc -l)" "$(echo "$bare_s - $nat_s" | bc -l)"
printf '  natural / bare, CPU for the same sentences (the same speech): %.2fx\n' \
  "$(echo "$nat_cpu / $bare_cpu" | bc -l)"

echo "== Time to the first chunk's audio (document: はい。 then five long sentences)"
"$root/build/bench/natural_first_sound" "$work/first.txt" "$voices" 7 | sed 's/^/  natural pass: /'
hyperfine -N --warmup 1 --runs 5 --export-json "$work/first.json" \
  "$yomi6 --engine natural --wav $work/f.wav $work/firstchunk.txt" >/dev/null 2>&1
median_ms() { python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; print(round(r["median"] * 1000))' "$1"; }
echo "  first chunk said and written: $(median_ms "$work/first.json") ms median (whole process, 5 runs)"
hyperfine -N --warmup 1 --runs 5 --export-json "$work/bare0.json" \
  "/usr/bin/open_jtalk -x $dic -m $voice -ow $work/b0.wav $work/firstchunk.utf8" >/dev/null 2>&1
echo "  bare open_jtalk on はい。 alone: $(median_ms "$work/bare0.json") ms median (the floor of one engine run)"
hyperfine -N --warmup 1 --runs 5 --export-json "$work/bare1.json" \
  "/usr/bin/open_jtalk -x $dic -m $voice -ow $work/b1.wav $work/pitch.utf8" >/dev/null 2>&1
echo "  bare open_jtalk on the first three sentences at once: $(median_ms "$work/bare1.json") ms median"

echo "== 20 KB text ($(wc -c <"$work/big.txt") bytes) to --wav"
wall_of() { # workers
  local start end
  start=$(date +%s.%N)
  YOMI6_NATURAL_WORKERS=$1 "$yomi6" --engine natural --wav "$work/big$1.wav" "$work/big.txt" 2>>"$work/stderr"
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
wall1=$(wall_of 1)
wall2=$(wall_of 2)
for w in 1 2; do
  t=$wall1
  [ "$w" = 2 ] && t=$wall2
  printf '  %d worker(s): %6.2f s wall for %.1f s of audio\n' "$w" "$t" "$(seconds "$work/big$w.wav")"
done
printf '  speed-up on 2 cores: %.2fx\n' "$(echo "$wall1 / $wall2" | bc -l)"
cmp -s "$work/big1.wav" "$work/big2.wav" && echo "  (both renderings are byte for byte the same)"

echo "== Resident memory (peak RSS, kB)"
echo "  yomi6 --wav, sample engine : $smp_rss"
echo "  yomi6 --engine natural --wav: $nat_rss (without its engine processes)"
echo "  one open_jtalk process     : $bare_rss (one per chunk being said; 2 at a time on 2 cores)"

echo "== Pitch range (the first three sentences)"
"$yomi6" --wav "$work/p-smp.wav" "$work/pitch.txt"
"$yomi6" --engine natural --wav "$work/p-nat.wav" "$work/pitch.txt"
/usr/bin/open_jtalk -x "$dic" -m "$voice" -ow "$work/p-bare.wav" "$work/pitch.utf8"
sox "$work/p-smp.wav" -b 16 "$work/p-smp16.wav"
pitch() {
  local stats
  stats=$(python3 tests/e2e/f0_stats.py "$2")
  echo "  $1: median ${stats% *} Hz, 10th-90th percentile ${stats#* } half-tones"
}
pitch "sample engine " "$work/p-smp16.wav"
pitch "natural engine" "$work/p-nat.wav"
pitch "bare open_jtalk" "$work/p-bare.wav"
if [ -s "$work/stderr" ]; then
  echo "== Messages"
  sort -u "$work/stderr"
fi
