#!/usr/bin/env bash
# Measures where the samples of `yomi6 --speak` are heard: a text of about 350 kana units is spoken
# through a private PulseAudio server with a null sink (tests/e2e/pulse_server.sh), the sink's
# monitor is recorded, and yomi6_onset_check prints, per speed, the distribution of the onset
# errors |onset_k - (onset_0 + k x speed)| (median, 95th percentile, maximum), their drift
# (least-squares slope per tick) and the count of ticks that came too late to be placed.
#   tools/measure_onsets.sh [BUILD_DIR] [--load N] [--speeds "180 60"]
# BUILD_DIR defaults to build/. --load N keeps N busy loops running meanwhile, to see what a
# loaded machine does to the figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
load=0
speeds="180 60"
while [ $# -gt 0 ]; do
  case $1 in
    --load) load=$2; shift 2 ;;
    --speeds) speeds=$2; shift 2 ;;
    *) build=$(realpath "$1"); shift ;;
  esac
done
yomi6=$build/src/yomi6
check=$build/tests/yomi6_onset_check
for f in "$yomi6" "$check"; do
  [ -x "$f" ] || { echo "measure_onsets.sh: $f is missing (build it first)" >&2; exit 1; }
done
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
cd "$work"

# The plain, voiced, semi-voiced and contracted kana, over and over: 348 units.
kana='あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをんがぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽきゃしゅちょ'
# Every kana is two bytes in code page 932: 720 bytes are the first 360 characters.
printf '%s' "$kana$kana$kana$kana$kana" | iconv -f UTF-8 -t CP932 | head -c 720 >long.txt

start_pulse "$work/server"
start_busy "$load"
echo "yomi6 --speak through a null sink; $load busy loops; $(nproc) cores"
for speed in $speeds; do
  record_start "speed$speed.raw"
  "$yomi6" --speak long.txt --speed "$speed"
  record_stop
  echo "speed $speed ms: $("$check" --tolerate-late-ticks "speed$speed.raw" --speak long.txt \
    --speed "$speed" | grep '^samples')"
done
