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
# The CPU time of each process as the kernel counts it (user + system from wait4), the two
# commands run by turns so that a change of the machine's load meets both alike: the figure to
# trust on a loaded machine. The median of the differences of the pairs.
python3 - "$runs" "$yomi6" "$work" <<'PY'
import os, statistics, subprocess, sys
runs, yomi6, work = int(sys.argv[1]), sys.argv[2], sys.argv[3]
def cpu_ms(dic):
    with open(os.devnull, "wb") as null:
        p = subprocess.Popen([yomi6, "--reading", f"{work}/text.txt", "--readings", "dictionary",
                              "--dictionary", f"{work}/{dic}"], stdout=null)
        _, status, usage = os.wait4(p.pid, 0)
    assert status == 0
    return (usage.ru_utime + usage.ru_stime) * 1000
pairs = [(cpu_ms("empty.dic"), cpu_ms("full.dic")) for _ in range(runs)]
base = statistics.median(b for b, _ in pairs)
full = statistics.median(f for _, f in pairs)
diff = statistics.median(f - b for b, f in pairs)
print(f"CPU time by turns: built-in words only {base:.2f} ms, full dictionary {full:.2f} ms, "
      f"difference {diff:.2f} ms (median of {runs} pairs)")
PY
