#!/usr/bin/env bash
# Times `yomi6 --wav` as a whole process (reading, rendering, writing and flushing the file) on
# 4000-byte texts: Japanese text with the built-in words, and 4000 half-width kana, the worst
# case of one tick per byte. Needs hyperfine (Debian package).
# Usage: tools/bench-wav-process.sh [YOMI6] [OUTPUT_DIR]  (OUTPUT_DIR: where the .wav goes;
# default a temporary directory, whose file system decides what the final flush costs)
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=${1:-build/src/yomi6}
work=$(mktemp -d)
out=${2:-$work}
trap 'rm -rf "$work" "$out/bench.wav"' EXIT
python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
rng = random.Random(5)
text = bytearray()
while len(text) < 4000:
    r = rng.random()
    if r < 0.4:
        text += bytes([0x82, 0x9F + rng.randrange(83)])          # hiragana
    elif r < 0.8:
        text += bytes([0x88 + rng.randrange(17), 0x9F + rng.randrange(94)])  # kanji
    elif r < 0.9:
        text += bytes([0xB1 + rng.randrange(45)])                 # half-width kana
    else:
        text += b"\r\n"
open(f"{work}/japanese.txt", "wb").write(text[:4000])
open(f"{work}/kana.txt", "wb").write(bytes(0xB1 + i % 45 for i in range(4000)))
PY
hyperfine -N --warmup 3 --runs 30 \
  -n "japanese text, 180 ms" "$yomi6 --wav $out/bench.wav $work/japanese.txt" \
  -n "4000 kana, 180 ms" "$yomi6 --wav $out/bench.wav $work/kana.txt" \
  -n "4000 kana, 1000 ms" "$yomi6 --wav $out/bench.wav $work/kana.txt --speed 1000"
