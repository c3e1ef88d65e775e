#!/usr/bin/env bash
# shellcheck disable=SC2016 # the checks are strings evaluated later
# The natural voice's controls on the command line, measured in the sound --wav writes: --pitch
# moves the voice's F0 by its half-tones, --intonation 0 flattens the melody and 2 widens it,
# --style-weight 0 is neutral sample for sample; the settings file's keys act as the options
# do. And its loudness: within 1 dB of the sample voice's RMS, with no sample at full scale on a
# loud sentence. Usage errors of the three options.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
YOMI6_NATURAL_VOICE_DIR=$(realpath "$2")
export YOMI6_NATURAL_VOICE_DIR
f0_stats="$(dirname "$(realpath "$0")")/f0_stats.py"
require_tools sox iconv
enter_scratch_folder
mkdir -p config

printf '今日はとても良い天気ですね。明日は雨が降るそうです。' | iconv -f utf-8 -t cp932 >t.txt
say() { # OUT.wav, options...: the natural voice's --wav, which must say nothing else
  local out=$1
  shift
  "$yomi6" --engine natural "$@" --wav "$out" t.txt 2>"$out.err"
  check "$out ($*): status, nothing on standard error" '[ $? -eq 0 ] && [ ! -s "$out.err" ]'
}
# The F0's median (Hz) and its range (half-tones from the 10th to the 90th percentile).
centre() { python3 "$f0_stats" "$1" | cut -d' ' -f1; }
range() { python3 "$f0_stats" "$1" | cut -d' ' -f2; }
# Whether the number (or awk expression) $1 is larger than $2.
above() { awk "BEGIN { exit !(($1) > ($2)) }"; }

for p in -5 0 5; do
  say "pitch$p.wav" --pitch "$p"
done
low=$(centre pitch-5.wav)
mid=$(centre pitch0.wav)
high=$(centre pitch5.wav)
echo "F0 median at --pitch -5/0/5: $low $mid $high Hz"
# Five half-tones are a factor of 1.33; three (1.19) leave room for the measurement.
check "--pitch 5 is higher than 0 by some half-tones" 'above "$high" "$mid * 1.19"'
check "--pitch -5 is lower than 0 by some half-tones" 'above "$mid" "$low * 1.19"'
for x in 0 1 2; do
  say "inton$x.wav" --intonation "$x"
done
flat=$(range inton0.wav)
plain=$(range inton1.wav)
wide=$(range inton2.wav)
echo "F0 range at --intonation 0/1/2: $flat $plain $wide half-tones"
check "--intonation 0 is nearly monotone, much narrower than 1" \
  'above 1.5 "$flat" && above "$plain" "$flat * 3"'
check "--intonation 2 is wider than 1" 'above "$wide" "$plain * 1.2"'

say neutral.wav --style neutral
say happy0.wav --style happy --style-weight 0
say happy50.wav --style happy --style-weight 50
say happy.wav --style happy
check "--style-weight 0 is neutral sample for sample" 'cmp -s happy0.wav neutral.wav'
check "--style-weight 50 is neither neutral nor the style" \
  '! cmp -s happy50.wav neutral.wav && ! cmp -s happy50.wav happy.wav'
say happy100.wav --style happy --style-weight 100
check "--style-weight 100 is the style as before" 'cmp -s happy100.wav happy.wav'

# The settings file's controls, and the options over them.
printf '[Voices]\r\nNaturalPitch=5\r\nNaturalIntonation=0\r\nNaturalStyleWeight=0\r\n' >config/yomi6.ini
say set.wav --style happy
say set0.wav --style neutral --pitch 5 --intonation 0
check "the settings' controls act as the options do" 'cmp -s set.wav set0.wav'
say over.wav --style happy --pitch 0 --intonation 1 --style-weight 100
check "the options win over the settings" 'cmp -s over.wav happy.wav'
printf '[Voices]\r\nNaturalPitch=40\r\nNaturalIntonation=-3\r\nNaturalStyleWeight=abc\r\n' >config/yomi6.ini
say clamped.wav --style happy --pitch 12 --intonation 0
say max.wav --style happy
check "settings out of range are clamped" 'cmp -s clamped.wav max.wav'
rm config/yomi6.ini

# Loudness: the sample voice's RMS over a few sentences is the target.
printf '駅の前に新しいパン屋ができました。\r\n明日の会議は午後三時から始まります。\r\n図書館で古い地図を見つけました。\r\n' |
  iconv -f utf-8 -t cp932 >few.txt
rms() { sox "$1" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'; }
"$yomi6" --engine samples --voice female --wav samples.wav few.txt
target=$(rms samples.wav)
for style in neutral happy sad angry; do
  "$yomi6" --engine natural --style "$style" --wav "loud-$style.wav" few.txt 2>loud.err
  check "loudness: $style said by the natural voice" '[ ! -s loud.err ]'
  level=$(rms "loud-$style.wav")
  echo "RMS $style $level dB, the samples $target dB"
  check "loudness: $style within 1 dB of the samples" \
    'above 1 "$level - ($target)" && above "$level - ($target)" -1'
done
printf 'ふざけるな！いいかげんにしろ！\r\n何度言ったらわかるんだ！' | iconv -f utf-8 -t cp932 >shout.txt
"$yomi6" --engine natural --style angry --wav shout.wav shout.txt 2>shout.err
check "loudness: the loud sentence said by the natural voice" '[ ! -s shout.err ]'
full=$(python3 -c '
import struct, sys, wave
w = wave.open(sys.argv[1])
raw = w.readframes(w.getnframes())
print(sum(1 for v in struct.unpack(f"<{len(raw) // 2}h", raw) if abs(v) >= 32767))' shout.wav)
check "loudness: no sample of a loud sentence at full scale ($full)" '[ "$full" -eq 0 ]'

# Usage errors: one line, status 2.
for args in "--pitch 13" "--pitch x" "--intonation 2.5" "--intonation" "--style-weight 101" \
  "--engine samples --pitch 1"; do
  # shellcheck disable=SC2086 # the words of each line are its arguments
  "$yomi6" --wav e.wav t.txt $args >/dev/null 2>e.err
  check "usage: $args" '[ $? -eq 2 ] && [ "$(wc -l <e.err)" -eq 1 ]'
done

checks_done cli_natural_controls
