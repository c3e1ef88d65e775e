#!/usr/bin/env bash
# Times `yomi6 --reading` as a whole process on a 4000-byte Japanese text, with the built-in
# words only and with a full dictionary of 9999 user rows. Needs hyperfine (Debian package).
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=${1:-build/src/yomi6}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
rng = random.Random(5)
def char():
    if rng.random() < 0.3:
        return bytes([0x82, 0x9F + rng.randrange(83)])
    return bytes([0x88 + rng.randrange(17), 0x9F + rng.randrange(94)])
words = [b''.join(char() for _ in range(rng.randint(1, 6))) for _ in range(9999)]
image = bytearray(339966)
for n, w in enumerate(words):
    image[34 * n:34 * n + len(w)] = w
    image[34 * n + 13:34 * n + 13 + 4] = bytes([0xB1 + rng.randrange(45) for _ in range(4)])
open(f"{work}/full.dic", "wb").write(image)
text = bytearray()
while len(text) < 4000:
    text += rng.choice(words) if rng.random() < 0.3 else char()
open(f"{work}/text.txt", "wb").write(text[:4000])
PY
: >"$work/empty.dic"
truncate -s 339966 "$work/empty.dic"
hyperfine -N --warmup 20 --runs 300 \
  -n "built-in words only" "$yomi6 --reading $work/text.txt --dictionary $work/empty.dic" \
  -n "full dictionary" "$yomi6 --reading $work/text.txt --dictionary $work/full.dic"
