#!/usr/bin/env bash
# Times `yomi6 --reading` as a whole process on a 4000-byte Japanese text, with the built-in
# words only and with a full dictionary of 9999 user rows, in the dictionary reading, and prints
# what the full dictionary costs over the built-in words. Needs hyperfine (Debian package).
#   tools/bench-reading-process.sh [YOMI6]        (RUNS=N for another number of runs)
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
# The dictionary reading, as chosen in the settings or with --readings dictionary; no settings
# file of the user's is read.
export XDG_CONFIG_HOME="$work/config"
runs=${RUNS:-300}
hyperfine -N --warmup 20 --runs "$runs" --export-json "$work/times.json" \
  -n "built-in words only" "$yomi6 --reading $work/text.txt --readings dictionary --dictionary $work/empty.dic" \
  -n "full dictionary" "$yomi6 --reading $work/text.txt --readings dictionary --dictionary $work/full.dic"
# The figures that matter: what the full dictionary adds to the whole process, as wall time
# (difference of the medians) and as CPU time (user + system, difference of the means), which
# other load on a shared machine moves much less than the wall time.
python3 - "$work/times.json" <<'PY'
import json, sys
base, full = json.load(open(sys.argv[1]))["results"]
wall = (full["median"] - base["median"]) * 1000
cpu = (full["user"] + full["system"] - base["user"] - base["system"]) * 1000
print(f"full dictionary over built-in words only: wall {wall:.2f} ms (medians), CPU {cpu:.2f} ms (means)")
PY
# The kernel's exact count of the CPU time each process ran (perf's task-clock), where perf may
# read it: the figure to trust on a loaded machine, whose other processes barely move it.
if command -v perf >/dev/null && perf stat -e task-clock true >/dev/null 2>&1; then
  clock() { # dictionary file: mean task-clock in ms over the runs
    perf stat -x, -e task-clock -r "$runs" "$yomi6" --reading "$work/text.txt" --readings dictionary \
      --dictionary "$1" 2>&1 >/dev/null | awk -F, '/task-clock/ { print $1 }'
  }
  base=$(clock "$work/empty.dic")
  full=$(clock "$work/full.dic")
  awk -v b="$base" -v f="$full" \
    'BEGIN { printf "CPU time (task-clock): built-in words only %.2f ms, full dictionary %.2f ms, difference %.2f ms\n", b, f, f - b }'
fi
