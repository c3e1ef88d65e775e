#!/usr/bin/env bash
# Times `yomi6 --export` as a whole process on a 1,048,575-byte Japanese text (prose of kanji
# and kana in sentences and lines) with the automatic reading at 180 ms a tick, to each format:
# wall time, CPU time (user + system, the steadier figure on a shared machine), the ratio of
# the audio's length to each, and the peak resident memory (/usr/bin/time -v). Usage: tools/bench-export-process.sh [YOMI6] [FORMATS...]
set -euo pipefail
cd "$(dirname "$0")/.."
yomi6=$(realpath "${1:-build/src/yomi6}")
shift || true
formats=("$@")
[ ${#formats[@]} -eq 0 ] && formats=(wav flac ogg opus mp3)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
prose = ("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
         "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。\r\n"
         "今日は朝から雨が降っていたので、図書館で新しい本を三冊借りて帰りました。\r\n"
         "東京駅から新幹線に乗って、大阪まで二時間半ほどかかります。\r\n").encode("cp932")
text = (prose * (1048575 // len(prose) + 1))[:1048575]
# Never end inside a two-byte character: pad the cut with blanks.
i = 0
while i < len(text):
    b = text[i]
    step = 2 if (0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC) else 1
    if i + step > len(text):
        text = text[:i] + b" " * (len(text) - i)
        break
    i += step
open(f"{work}/book.txt", "wb").write(text)
PY
echo "load: $(uptime)"
printf 'format\tseconds\tcpu_s\taudio_s\tx_real_time\tx_real_cpu\tpeak_MiB\tbytes\n'
for f in "${formats[@]}"; do
  /usr/bin/time -v -o "$work/time.txt" "$yomi6" --export "$work/book.$f" --readings auto \
    --speed 180 "$work/book.txt"
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0;
    for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$work/time.txt")
  cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$work/time.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$work/time.txt")
  audio=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/book.$f")
  ratio=$(python3 -c "print(round($audio / $wall))")
  cpuratio=$(python3 -c "print(round($audio / max($cpu, 0.01)))")
  printf '%s\t%s\t%s\t%.0f\t%s\t%s\t%s\t%s\n' "$f" "$wall" "$cpu" "$audio" "$ratio" "$cpuratio" "$rss" \
    "$(stat -c %s "$work/book.$f")"
  rm -f "$work/book.$f"
done
