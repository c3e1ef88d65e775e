#!/usr/bin/env bash
# Measures what happens where one sample gives way to the next in `yomi6 --wav` renderings:
# 40 everyday sentences in kana are rendered at each speed, and at every tick that starts a
# sample while the one before still sounds (a cut point) the jump of the waveform from the
# frame before the tick to the tick's frame is taken, in parts of full scale (128 levels of
# the 8-bit rendering). Prints per speed the number of ticks that start a sample, how many of
# them cut one, and the median and 90th percentile of the jump at the cut points.
#   tools/measure_cuts.sh [BUILD_DIR] [--speeds "180 120"] [-- YOMI6_OPTIONS...]
# BUILD_DIR defaults to build/. Options after -- go to every yomi6 run (--voice male,
# --fit-samples, ...). Only the rendered files and the tick schedule are looked at.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
speeds="180 120"
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --speeds) speeds=$2; shift 2 ;;
    --) shift; options=("$@"); break ;;
    *) build=$(realpath "$1"); shift ;;
  esac
done
yomi6=$build/src/yomi6
[ -x "$yomi6" ] || { echo "measure_cuts.sh: $yomi6 is missing (build it first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

sentences=(
  'おはようございます。きょうも いい てんきですね。'
  'あしたは あめが ふるそうです。'
  'えきまで あるいて じゅっぷんぐらいです。'
  'この みちを まっすぐ いって ください。'
  'ひるごはんは なにに しましょうか。'
  'かいものに いってきます。'
  'でんしゃが すこし おくれています。'
  'しゅくだいは もう おわりましたか。'
  'ありがとう ございました。また きてください。'
  'すみません、いま なんじですか。'
  'こどもたちが こうえんで あそんでいます。'
  'ねこが まどの そばで ねています。'
  'らいしゅうの かいぎは げつようびです。'
  'おちゃを いっぱい いかがですか。'
  'やさいを たくさん たべましょう。'
  'としょかんで ほんを かりました。'
  'きのうは はやく ねました。'
  'ゆうびんきょくは どこですか。'
  'さむいので まどを しめてください。'
  'あたらしい くつを かいました。'
  'ともだちと えいがを みに いきます。'
  'しんぶんを よみながら あさごはんを たべます。'
  'びょういんは ごごから やすみです。'
  'この りょうりは とても おいしいです。'
  'なつやすみに うみへ いきたいです。'
  'きっぷは じどうはんばいきで かえます。'
  'へやの でんきを けしてください。'
  'いっしょに しゃしんを とりましょう。'
  'おかあさんに でんわを かけました。'
  'ぎんこうは くじから あいています。'
  'がっこうの まえで まっています。'
  'この にもつは とても おもいです。'
  'にちようびは いえで ゆっくり します。'
  'みずを のんでから でかけます。'
  'きょうは ちょっと つかれました。'
  'ゆきが つもって みちが すべります。'
  'せんせいに しつもんが あります。'
  'じゅぎょうは さんじに おわります。'
  'だいどころで おさらを あらいます。'
  'おやすみなさい。また あした。'
)

for i in "${!sentences[@]}"; do
  printf '%s' "${sentences[i]}" | iconv -f UTF-8 -t CP932 >"s$i.txt"
done

echo "cut points in yomi6 --wav renderings of ${#sentences[@]} sentences ${options[*]}"
for speed in $speeds; do
  : >"jumps$speed"
  : >"counts$speed"
  for i in "${!sentences[@]}"; do
    "$yomi6" --schedule "s$i.txt" --speed "$speed" "${options[@]}" >"s$i.schedule"
    "$yomi6" --wav "s$i.wav" "s$i.txt" --speed "$speed" "${options[@]}"
    # Tick k starts at k x speed x 16 output samples (16000 Hz). A sample-starting tick is a
    # cut point when the output still sounds 5 ms before it (in the 8 output samples ending
    # there): a sample sounding then would sound on at the tick unless it is cut. (Looking at
    # the last frames before the tick would miss cuts whose sample has faded out by then.)
    tail -c +45 "s$i.wav" | od -An -v -tu1 -w1 |
      awk -v speed="$speed" -v schedule="s$i.schedule" '
        BEGIN {
          k = 0
          while ((getline line < schedule) > 0) { if (line != "-") onset[k] = 1; k++ }
        }
        { y[NR - 1] = $1 }
        END {
          tick = speed * 16
          for (k in onset) {
            c = k * tick
            if (c == 0 || !(c in y)) continue
            starts++
            sounding = 0
            for (j = c - 88; j < c - 80; j++) if (y[j] > 129 || y[j] < 127) sounding = 1
            if (!sounding) continue
            cuts++
            d = y[c] - y[c - 1]
            printf "%.5f\n", (d < 0 ? -d : d) / 128 >> "jumps'"$speed"'"
          }
          print starts + 0, cuts + 0 >> "counts'"$speed"'"
        }'
  done
  sort -g "jumps$speed" >"sorted$speed"
  awk -v speed="$speed" '
    FNR == NR { starts += $1; cuts += $2; next }
    { v[++n] = $1 }
    END {
      if (n == 0) { printf "speed %d ms: %d sample ticks, no cut points\n", speed, starts; exit }
      m = v[int((n + 1) / 2)]
      p = v[int(0.9 * n + 0.999)]
      printf "speed %d ms: %d sample ticks, %d cut points (%.0f %%); jump at the cut: " \
             "median %.3f, p90 %.3f, max %.3f of full scale\n",
             speed, starts, cuts, 100 * cuts / starts, m, p, v[n]
    }' "counts$speed" "sorted$speed"
done
