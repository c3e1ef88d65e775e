#!/usr/bin/env bash
# Times the start of yomi6 as whole processes, per run in ms: --version, and --reading of a
# one-line file (read automatically, as without settings, and with the dictionary reading).
# A second program is timed alike for comparison: by default build/src/yomi6-qt, which runs
# every mode as yomi6 did while it was one program that loaded Qt for every mode. Uses
# hyperfine when installed, else a loop that times each run with date.
#   tools/bench-startup.sh [YOMI6 [OTHER]]        (RUNS=N for another number of runs)
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
yomi6=$(realpath "${1:-$checkout/build/src/yomi6}")
other=$(realpath -m "${2:-$checkout/build/src/yomi6-qt}")
text="$checkout/tests/golden/reading_kanji_line.txt"
runs=${RUNS:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No settings file and no dictionary file of the user's.
export XDG_CONFIG_HOME="$work/config"
cd "$work"

programs=("$yomi6")
names=("${1:-build/src/yomi6}")
if [ -x "$other" ] && [ "$other" != "$yomi6" ]; then
  programs+=("$other")
  names+=("${2:-build/src/yomi6-qt}")
fi
cases=("--version" "--reading $text" "--reading $text --readings dictionary")

if command -v hyperfine >/dev/null; then
  # The floor: a process that does nothing, started alike on this machine at this time.
  commands=(-n "/bin/true (the floor)" /bin/true)
  for i in "${!programs[@]}"; do
    for c in "${cases[@]}"; do
      commands+=(-n "${names[i]} ${c//$text/FILE}" "${programs[i]} $c")
    done
  done
  hyperfine -N --warmup 10 --runs "$runs" --style basic --export-json "$work/times.json" \
    "${commands[@]}" >"$work/hyperfine.log" 2>&1
  python3 - "$work/times.json" <<'PY'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    t = [x * 1000 for x in r["times"]]
    print(f"{r['command']:<60} median {r['median'] * 1000:6.2f} ms  min {min(t):6.2f} ms  "
          f"mean {r['mean'] * 1000:6.2f} ms  CPU {(r['user'] + r['system']) * 1000:6.2f} ms"
          f"  ({len(t)} runs)")
PY
else
  for i in "${!programs[@]}"; do
    program=${programs[i]}
    for c in "${cases[@]}"; do
      : >"$work/ms"
      for ((run = 0; run < runs; run++)); do
        start=$(date +%s%N)
        # shellcheck disable=SC2086 # the case's words are the arguments
        "$program" $c >/dev/null
        end=$(date +%s%N)
        echo $(((end - start) / 1000)) >>"$work/ms"
      done
      sort -n "$work/ms" | awk -v name="${names[i]} ${c//$text/FILE}" '
        { t[NR] = $1 / 1000 }
        END { printf "%-60s median %6.2f ms  min %6.2f ms  (%d runs, date)\n",
                     name, t[int((NR + 1) / 2)], t[1], NR }'
    done
  done
fi
