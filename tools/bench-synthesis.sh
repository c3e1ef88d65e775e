#!/usr/bin/env bash
# Figures of synthesis in our own process, from whole processes (never timed tests):
#  - CPU per second of audio: build/bench/synthesize_labels (the voice loaded once, every
#    sentence said from its labels) against bare open_jtalk run once per sentence, on the same
#    sentences with the same labels: each sentence's labels are open_jtalk's own (its trace,
#    -ot), the stand-in for our labels until the label library lands. Our side does not make the
#    labels (the label library will add its own cost), open_jtalk's does.
#  - resident memory (peak RSS) of that process, the voice's four styles loaded, against one
#    open_jtalk process with one style;
#  - time to the first sound, and CPU per second of audio in one process, from
#    build/bench/synthesis_bench.
# Usage: tools/bench-synthesis.sh [BUILD_DIR] [VOICE_DIR] [SENTENCES]  (default 30 sentences)
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

# Sentences of the literary test set, one per line.
python3 - "$root/tests/accuracy/literary.tsv" "$count" >"$work/sentences.txt" <<'PY'
import sys
src, count = sys.argv[1], int(sys.argv[2])
sentences = [l.split("\t")[1] for l in open(src, encoding="utf-8")
             if not l.startswith("#") and l.count("\t") >= 2]
print("\n".join(sentences[:count]))
PY

cpu_of() { # command... ; prints user+system seconds of it
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >"$work/out" 2>>"$work/stderr"
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
rss_of() { awk '{ print $3 }' "$work/time"; }

n=0
bare_cpu=0
bare_s=0
bare_rss=0
labels=()
while IFS= read -r line; do
  n=$((n + 1))
  printf '%s\n' "$line" >"$work/line.txt"
  # The labels (not timed): the [Output label] part of the trace, times and all.
  /usr/bin/open_jtalk -x "$dic" -m "$voice" -ow /dev/null -ot "$work/trace" "$work/line.txt"
  awk '/^\[Output label\]/ { on = 1; next } on && (/^$/ || /^\[/) { exit } on' \
    "$work/trace" >"$work/s$n.lab"
  labels+=("$work/s$n.lab")
  c=$(cpu_of /usr/bin/open_jtalk -x "$dic" -m "$voice" -ow "$work/bare.wav" "$work/line.txt")
  r=$(rss_of)
  [ "$r" -gt "$bare_rss" ] && bare_rss=$r
  bare_cpu=$(echo "$bare_cpu + $c" | bc -l)
  bare_s=$(echo "$bare_s + $(soxi -D "$work/bare.wav")" | bc -l)
done <"$work/sentences.txt"

our_cpu=$(cpu_of "$build/bench/synthesize_labels" "$voices" "${labels[@]}")
our_rss=$(rss_of)
our_s=$(cat "$work/out")
cut_cpu=$(cpu_of "$build/bench/synthesize_labels" --cut-silence 60 300 "$voices" "${labels[@]}")
cut_s=$(cat "$work/out")
echo "== CPU per second of audio ($n sentences of tests/accuracy/literary.tsv, 48 kHz)"
printf '  bare open_jtalk, once per sentence: %6.3f s CPU for %6.2f s audio = %.4f CPU s per audio s\n' \
  "$bare_cpu" "$bare_s" "$(echo "$bare_cpu / $bare_s" | bc -l)"
printf '  in process, one run (voice loaded once): %6.3f s CPU for %6.2f s audio = %.4f CPU s per audio s\n' \
  "$our_cpu" "$our_s" "$(echo "$our_cpu / $our_s" | bc -l)"
printf '  in process / bare: %.2fx\n' "$(echo "($our_cpu / $our_s) / ($bare_cpu / $bare_s)" | bc -l)"
printf '  in process, silence cut to 60/300 ms: %6.3f s CPU for %6.2f s audio; CPU for the same sentences / bare: %.2fx\n' \
  "$cut_cpu" "$cut_s" "$(echo "$cut_cpu / $bare_cpu" | bc -l)"

echo "== Resident memory (peak RSS, kB)"
echo "  in process (four styles loaded): $our_rss"
echo "  one open_jtalk process (one style and its dictionary): $bare_rss"

echo "== Time to the first sound, CPU per second of audio in one process (synthesis_bench)"
# bare open_jtalk has no sound before its process ends: its CPU for the benchmark's sentences.
short="今日は良い天気ですね。"
long="何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している、吾輩はここで始めて人間というものを見た、しかもあとで聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。"
for s in "$short" "$long"; do
  printf '%s\n' "$s" >"$work/line.txt"
  c=$(cpu_of /usr/bin/open_jtalk -x "$dic" -m "$voice" -ow "$work/bare.wav" "$work/line.txt")
  printf '  bare open_jtalk, whole process: %5.3f s CPU for %5.2f s of audio\n' "$c" \
    "$(soxi -D "$work/bare.wav")"
done
YOMI6_NATURAL_VOICE_DIR=$voices "$build/bench/synthesis_bench" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median|^Benchmark|^---' || true
if [ -s "$work/stderr" ]; then
  echo "== Messages"
  sort -u "$work/stderr"
fi
