#!/usr/bin/env bash
# Times `yomi6 --export OUT.wav --to 10` as a whole process on texts of one line of about 1 MB
# (1,048,574 bytes) of a mark that opens Aozora notation and that nothing on the line closes:
# ［＃, 《, 〔, ※［＃, and a gaiji note of 水準 over and over without a code. "detect" files
# hold that line alone, so that finding whether the text is in the notation reads all of it;
# "parse" files have a line with a ruby before it, so that the text is read as notation and
# the whole of it is parsed. Prints wall and CPU seconds (user + system) of each run.
# Usage: tools/bench-aozora-hostile.sh [YOMI6] [LIMIT_SECONDS]  (a run is stopped after LIMIT,
# 300 by default, and shown as such)
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=$(realpath "${1:-build/src/yomi6}")
limit=${2:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
size = 1048574
marks = {"note": "［＃", "ruby": "《", "accent": "〔", "gaiji": "※［＃"}
for name, mark in marks.items():
    unit = mark.encode("cp932")
    line = (unit * (size // len(unit) + 1))[:size // len(unit) * len(unit)]
    open(f"{work}/detect-{name}.txt", "wb").write(line)
    open(f"{work}/parse-{name}.txt", "wb").write("本《ほん》\r\n".encode("cp932") + line)
level = "※［＃".encode("cp932") + "水準".encode("cp932") * (size // 4) + "］".encode("cp932")
open(f"{work}/detect-level.txt", "wb").write(level)
open(f"{work}/parse-level.txt", "wb").write("本《ほん》\r\n".encode("cp932") + level)
PY
echo "load: $(uptime)"
printf 'file\tstatus\tseconds\tcpu_s\n'
for kind in detect parse; do
  for name in note ruby accent gaiji level; do
    file="$work/$kind-$name.txt"
    set +e
    /usr/bin/time -f '%e %U %S' -o "$work/time.txt" timeout "$limit" "$yomi6" --export \
      "$work/out.wav" --to 10 --readings auto "$file" 2>"$work/err.txt"
    status=$?
    set -e
    # The last line: time puts "Command exited with non-zero status" before it.
    read -r wall user sys < <(tail -n 1 "$work/time.txt") || true
    cpu=$(python3 -c "print(round(${user:-0} + ${sys:-0}, 2))")
    [ "$status" -eq 124 ] && status="stopped after ${limit}s"
    printf '%s-%s\t%s\t%s\t%s\n' "$kind" "$name" "$status" "${wall:-?}" "$cpu"
    rm -f "$work/out.wav"
  done
done
