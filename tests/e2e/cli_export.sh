#!/usr/bin/env bash
# yomi6 --export as a whole process. The files are read back by tools of their own (ffprobe,
# soxi, a strict reading of the subtitle grammars in export_check.py) and compared with what
# --wav and --units say of the same text.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
check_py=$(realpath "$2")
enter_scratch_folder 'chmod -R u+w "$work"'

xc() { python3 "$check_py" "$@"; }
probe() { # file, entries -> compact values
  ffprobe -v error -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "$1" | tr '\n' ' '
}
cp932() { iconv -f utf-8 -t cp932; }

# One pass: the WAVE export holds exactly the samples of --wav; every format has the length of
# the schedule (speed 1000: every sample ends before the tick that ends the pass).
printf '漢字です。\r\nキャット＆<b>！\r\n\r\n　\r\nあいう\r\n' | cp932 >k.txt
"$yomi6" --export one.wav --subtitles one.vtt --timings one.json k.txt 2>err.txt
check "one pass: status" '[ $? -eq 0 ] && [ ! -s err.txt ]'
"$yomi6" --wav ref.wav k.txt
check "one pass: the same samples as --wav" '[ "$(xc pcm one.wav)" = "$(xc pcm ref.wav)" ]'
"$yomi6" --units k.txt >k.units
check "one pass: WebVTT cues at the ticks of their units" 'xc subtitles one.vtt vtt k.txt k.units 180'
check "one pass: timings of every unit" 'xc timings one.json k.units 180'
"$yomi6" --export one.srt.wav --subtitles ONE.SRT k.txt
check "one pass: SRT cues" 'xc subtitles ONE.SRT srt k.txt k.units 180'

ticks=$("$yomi6" --schedule k.txt --speed 1000 | wc -l)
seconds=$((ticks - 1))
for f in wav flac ogg opus mp3; do
  "$yomi6" --export "s.$f" --speed 1000 k.txt
  check "$f: status" '[ $? -eq 0 ] && [ -s "s.$f" ]'
  read -r codec rate format duration _ <<<"$(probe "s.$f" format=format_name,duration:stream=codec_name,sample_rate)"
  # shellcheck disable=SC2034 # read by a check condition
  case $f in
  wav) want="pcm_u8 16000 wav" ;; flac) want="flac 16000 flac" ;;
  ogg) want="vorbis 16000 ogg" ;; opus) want="opus 48000 ogg" ;; mp3) want="mp3 16000 mp3" ;;
  esac
  check "$f: codec, rate and container ($codec $rate $format)" '[ "$codec $rate $format" = "$want" ]'
  # Lossless formats hold the exact length; the encoders' padding may add a few ms (MP3 frames
  # are 36 ms at 16 kHz).
  tolerance=0.0005
  # shellcheck disable=SC2034 # read by a check condition
  case $f in ogg|opus|mp3) tolerance=0.08 ;; esac
  check "$f: lasts the schedule's $seconds s ($duration)" \
    'python3 -c "import sys; sys.exit(abs($duration - $seconds) > $tolerance)"'
done
check "wav: soxi agrees" '[ "$(soxi -s s.wav)" = "$((seconds * 16000))" ] && [ "$(soxi -r s.wav)" = 16000 ]'
check "flac: soxi agrees" '[ "$(soxi -s s.flac)" = "$((seconds * 16000))" ]'

# Over one pass: 8000 bytes in lines of 100 bytes are read as two passes of 4000, each exactly
# as the pass over its own half, the second starting on the tick after the first one's end.
python3 - <<'PY'
kana = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"
lines = []
for i in range(80):
    body = "".join(kana[(i * 7 + j) % len(kana)] for j in range(48)) + "。"
    lines.append(body.encode("cp932") + b"\r\n")
open("long.txt", "wb").write(b"".join(lines))
open("h1.txt", "wb").write(b"".join(lines[:40]))
open("h2.txt", "wb").write(b"".join(lines[40:]))
PY
check "long: 8000 bytes" '[ "$(wc -c <long.txt)" = 8000 ]'
"$yomi6" --export long.wav --subtitles long.srt --timings long.json long.txt
check "long: status" '[ $? -eq 0 ]'
"$yomi6" --wav h1.wav h1.txt
"$yomi6" --wav h2.wav h2.txt
# shellcheck disable=SC2034 # read by a check condition
n1=$("$yomi6" --schedule h1.txt | wc -l)
check "long: both passes whole, the second on the tick after the first's end" \
  'xc stitch long.wav "$n1" 180 h1.wav h2.wav'
"$yomi6" --units h2.txt >h2.units
check "long: the second pass's cues at its units' ticks" \
  'xc subtitles long.srt srt h2.txt h2.units 180 "$n1"'
check "long: one cue per line" '[ "$(grep -c -- "-->" long.srt)" = 80 ]'
check "long: the last unit's source is in the second half" \
  'python3 -c "import json,sys; u=json.load(open(\"long.json\"))[\"units\"]; sys.exit(not (u[-1][\"source\"][1] == 8000 - 2))"'

# --from/--to: the bytes between them, as --wav reads a file holding only them.
head -c 2200 long.txt | tail -c 1200 >part.txt
"$yomi6" --export part.wav --from 1000 --to 2200 long.txt
"$yomi6" --wav partref.wav part.txt
check "--from/--to: the same samples as that part alone" '[ "$(xc pcm part.wav)" = "$(xc pcm partref.wav)" ]'
"$yomi6" --export mid.wav --from 1001 --to 1101 long.txt
check "--from inside a character moves to the next one" '[ $? -eq 0 ] && [ -s mid.wav ]'

# The automatic reading, as --wav reads it.
printf '今日は良い天気です。' | cp932 >auto.txt
"$yomi6" --export auto.wav --readings auto auto.txt 2>auto.err
"$yomi6" --readings auto --wav autoref.wav auto.txt 2>/dev/null
check "auto: the same samples as --wav --readings auto" '[ "$(xc pcm auto.wav)" = "$(xc pcm autoref.wav)" ]'

# Errors leave nothing behind.
mkdir out
"$yomi6" --export out/x.aiff k.txt 2>bad.err
check "bad extension: usage error" '[ $? -eq 2 ] && grep -q ".wav, .flac" bad.err'
"$yomi6" --export out/x.wav --subtitles out/x.txt k.txt 2>/dev/null
check "bad subtitle extension: usage error" '[ $? -eq 2 ]'
"$yomi6" --subtitles out/x.srt k.txt 2>/dev/null
check "--subtitles without --export: usage error" '[ $? -eq 2 ]'
"$yomi6" --export out/x.wav --from 9 --to 3 k.txt 2>/dev/null
check "--from after --to: usage error" '[ $? -eq 2 ]'
"$yomi6" --export out/x.wav --from 99999 k.txt 2>/dev/null
check "--from past the end: error" '[ $? -eq 1 ]'
"$yomi6" --export nowhere/x.wav k.txt 2>nowhere.err
check "missing folder: error 1" '[ $? -eq 1 ] && [ -s nowhere.err ] && [ ! -e nowhere ]'
mkdir locked && chmod 555 locked
if [ "$(id -u)" -ne 0 ]; then
  "$yomi6" --export locked/x.wav --subtitles locked/x.srt k.txt 2>/dev/null
  check "unwritable folder: error 1" '[ $? -eq 1 ]'
fi
"$yomi6" --export out/x.wav --subtitles nowhere/x.srt --timings out/x.json k.txt 2>/dev/null
check "a side file that cannot be written: error 1" '[ $? -eq 1 ]'
check "failures leave no file and no temporary" '[ -z "$(find out locked -mindepth 1)" ]'
"$yomi6" --export out/x.wav missing.txt 2>/dev/null
check "missing input: error 1, no file" '[ $? -eq 1 ] && [ -z "$(ls -A out)" ]'

checks_done cli_export
