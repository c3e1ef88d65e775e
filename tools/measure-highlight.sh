#!/usr/bin/env bash
# Measures the editor's speech highlight and its reading from the caret, through a private
# PulseAudio server with a null sink (tests/e2e/pulse_server.sh) and an offscreen display:
#  - highlight paint against sample onset: bench/highlight_latency reads a long text from its
#    top for SECONDS at each speed, RUNS times per speed and reading mode; per run it prints
#    p50/p95/max of (end of the highlight's paint - the sample's onset on the player's
#    schedule), the largest gap between passes and between any two units; then the medians
#    over the runs (and the largest of the maxima);
#  - a whole-document reading: a 1,048,575-byte text read over and over at the fastest speed
#    (10 ms) for 70 s, in both modes: the resident memory at the start of each walk through it;
#  - the start of a pass on that document, in both modes: core_bench's BM_PassStart* (the
#    median of three repetitions).
#   tools/measure-highlight.sh [BUILD_DIR] [--runs N] [--seconds S] [--speeds "180 60"]
#                              [--modes "dictionary automatic"] [--no-whole] [--xvfb]
# BUILD_DIR defaults to build/. --xvfb paints under a virtual X server instead of offscreen.
# The machine's load (uptime) is printed first: the figures are wall-clock times.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
runs=3
seconds=30
speeds="180 60"
modes="dictionary automatic"
whole=1
xvfb=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --speeds) speeds=$2; shift 2 ;;
    --modes) modes=$2; shift 2 ;;
    --no-whole) whole=0; shift ;;
    --xvfb) xvfb=1; shift ;;
    -*) echo "measure-highlight.sh: unknown option $1" >&2; exit 2 ;;
    *) build=$(realpath "$1"); shift ;;
  esac
done
latency=$build/bench/highlight_latency
bench=$build/bench/core_bench
for f in "$latency" "$bench"; do
  [ -x "$f" ] || { echo "measure-highlight.sh: $f is missing (build it first)" >&2; exit 1; }
done
# shellcheck source=../tests/e2e/pulse_server.sh
. "$root/tests/e2e/pulse_server.sh"

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  stop_pulse
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
start_pulse "$work/server"
chmod 700 "$work/server"
# The tool saves the editor's settings at its end: into this scratch folder, never the user's.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"
if [ "$xvfb" = 1 ]; then
  display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
  sleep 1
else
  export QT_QPA_PLATFORM=offscreen
fi

# The figures of the tool's lines as columns: paint - onset p50, p95, max; pass gap max;
# interval max; late samples.
columns() {
  sed -n 's/.*paint - onset p50 \([0-9.]*\) ms, p95 \([0-9.]*\) ms, max \([0-9.]*\) ms;.*late samples \([0-9]*\); pass gap max \([0-9.]*\) ms.*interval max \([0-9.]*\) ms.*/\1 \2 \3 \5 \6 \4/p'
}
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }
largest() { sort -g | tail -n 1; }
column() { awk -v c="$1" '{ print $c }' "$2"; }

echo "load: $(uptime); $(nproc) cores; display: $QT_QPA_PLATFORM"
for mode in $modes; do
  flag=""
  [ "$mode" = automatic ] && flag=--automatic
  for speed in $speeds; do
    : >"runs-$mode-$speed.txt"
    for run in $(seq 1 "$runs"); do
      "$latency" "$speed" "$seconds" $flag 2>>tool.err | tee -a "runs-$mode-$speed.txt" |
        sed "s/^/  run $run: /"
    done
    columns <"runs-$mode-$speed.txt" >"figures-$mode-$speed.txt"
    if [ ! -s "figures-$mode-$speed.txt" ]; then
      echo "no figures at speed $speed ($mode):" >&2
      cat tool.err >&2
      exit 1
    fi
    f=figures-$mode-$speed.txt
    echo "speed $speed ms, $mode, median of $(wc -l <"$f") runs: paint - onset" \
      "p50 $(column 1 "$f" | median) ms, p95 $(column 2 "$f" | median) ms," \
      "max $(column 3 "$f" | median) ms (largest max $(column 3 "$f" | largest) ms);" \
      "largest pass gap $(column 4 "$f" | largest) ms," \
      "largest unit interval $(column 5 "$f" | largest) ms;" \
      "late samples $(column 6 "$f" | awk '{ s += $1 } END { print s + 0 }')"
  done
done

if [ "$whole" = 1 ]; then
  echo "whole-document reading of 1,048,575 bytes at 10 ms, over and over for 70 s:"
  for mode in $modes; do
    flag=""
    [ "$mode" = automatic ] && flag=--automatic
    "$latency" 10 70 $flag --document 1048575 --repeat 2>>tool.err |
      sed -n "s/.*\(resident memory.*\)/  $mode: \1/p"
  done
fi

echo "pass start on a 1,048,575-byte document (core_bench, median of 3):"
"$bench" --benchmark_filter=PassStart --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep median | sed 's/^/  /'
echo "load: $(uptime)"
