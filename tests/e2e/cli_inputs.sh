#!/usr/bin/env bash
# What the command line reads and refuses, as whole processes: a UTF-8 file is read as the
# same text in Shift-JIS in every mode (--encoding forces either), outputs that are the input
# or each other are refused before anything is written, and a text over the export's limit
# gets the message that fits what was asked.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
require_tools iconv pdftotext
yomi6=$(realpath "$1")
check_py=$(realpath "$2")
enter_scratch_folder
export QT_QPA_PLATFORM=offscreen
xc() { python3 "$check_py" "$@"; }

# The same text in UTF-8 (LF line ends, as most editors write it), with a byte order mark,
# and in Shift-JIS with CR LF (as this editor writes it).
text='こんにちは。今日は2026年です。\nキャット＆ドッグ、ABC。\n'
printf '%b' "$text" >u.txt
printf '\xEF\xBB\xBF' >bom.txt
printf '%b' "$text" >>bom.txt
printf '%b' "$text" | sed 's/$/\r/' | iconv -f utf-8 -t cp932 >s.txt

for mode in reading schedule units; do
  "$yomi6" --$mode s.txt >"s.$mode"
  for f in u bom; do
    "$yomi6" --$mode $f.txt >"$f.$mode" 2>err.txt
    check "--$mode: $f.txt reads as the Shift-JIS text" '[ $? -eq 0 ] && [ ! -s err.txt ] && cmp -s "$f.$mode" "s.$mode"'
  done
done
check "the reading is not empty" '[ "$(wc -c <s.reading)" -gt 20 ]'
"$yomi6" --wav s.wav s.txt
"$yomi6" --wav u.wav u.txt
check "--wav: the same samples" 'cmp -s s.wav u.wav'
"$yomi6" --export se.wav --subtitles se.srt --timings se.json s.txt
"$yomi6" --export ue.wav --subtitles ue.srt --timings ue.json u.txt 2>err.txt
check "--export: status 0" '[ $? -eq 0 ] && [ ! -s err.txt ]'
check "--export: the same sound, subtitles and timings" 'cmp -s se.wav ue.wav && cmp -s se.srt ue.srt && cmp -s se.json ue.json'
check "--export: the subtitles hold the text" 'grep -q "キャット＆ドッグ" ue.srt'
# (The page heading names the file: the same name in two folders.)
mkdir sj ut && cp s.txt sj/t.txt && cp u.txt ut/t.txt
"$yomi6" --pdf s.pdf sj/t.txt
"$yomi6" --pdf u.pdf ut/t.txt
check "--pdf: the same text" '[ "$(pdftotext s.pdf -)" = "$(pdftotext u.pdf -)" ] && pdftotext u.pdf - | grep -q "キャット＆ドッグ"'

# Forced encodings. Shift-JIS: the UTF-8 bytes as they are (a different reading); UTF-8 on a
# Shift-JIS file: refused, naming the first byte that is no UTF-8.
"$yomi6" --reading u.txt --encoding sjis >forced.reading
check "--encoding sjis: the bytes as Shift-JIS" '! cmp -s forced.reading s.reading && [ -s forced.reading ]'
"$yomi6" --reading s.txt --encoding utf8 >/dev/null 2>err.txt
check "--encoding utf8 on Shift-JIS: status 1, one line" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" = 1 ] && grep -q "s.txt: not UTF-8 (byte 0 " err.txt'
"$yomi6" --export x.wav --encoding utf8 s.txt 2>err.txt
check "--encoding utf8 on Shift-JIS: no export" '[ $? -eq 1 ] && [ ! -e x.wav ]'
"$yomi6" --units u.txt --encoding utf8 >forced.units
check "--encoding utf8 on UTF-8: as auto" 'cmp -s forced.units s.units'
# Shift-JIS half-width katakana that are valid UTF-8 as well (ﾜ､ would be U+0724): read as the
# katakana they are, as the editor opens them.
printf 'ﾜ､ﾃｽﾄｶ\r\n' | iconv -f utf-8 -t cp932 >hw.txt
"$yomi6" --reading hw.txt --readings dictionary >hw.reading
check "half-width katakana that are also UTF-8: read as Shift-JIS" \
  'LC_ALL=C grep -qF "$(printf "\xDC")" hw.reading && LC_ALL=C grep -qF "$(printf "\xC3\xBD\xC4\xB6")" hw.reading'
# Options before or after FILE, as in GNU tools; -- before a FILE that starts with a hyphen.
cp s.txt ./-x.txt
"$yomi6" s.txt --readings dictionary --reading >after.reading 2>err.txt
check "options after FILE" '[ $? -eq 0 ] && [ ! -s err.txt ] && [ -s after.reading ]'
"$yomi6" --reading --readings dictionary -- -x.txt >dash.reading 2>err.txt
check "-- before a FILE named -x.txt" '[ $? -eq 0 ] && [ ! -s err.txt ] && cmp -s dash.reading after.reading'
"$yomi6" --export -x.wav --timings t.json -- -x.txt 2>err.txt
check "--export -x.wav (a value may start with a hyphen) -- -x.txt" \
  '[ $? -eq 0 ] && [ ! -s err.txt ] && [ -s ./-x.wav ] && [ -s t.json ]'
printf '%b' "$text" | "$yomi6" --reading - >stdin.reading
check "standard input in UTF-8" 'cmp -s stdin.reading s.reading'

# Outputs that are the input or each other (issue's reproductions): status 2, one line, and
# every file as it was.
printf 'こんにちは。今日は2026年です。\n' | iconv -t cp932 >doc.txt
cp doc.txt doc.keep
printf 'old' >o.srt
ln -s doc.txt link.wav
ln doc.txt hard.json
refused() { # name, what the message says, arguments...
  # shellcheck disable=SC2034 # read by a check condition
  local name=$1 says=$2
  shift 2
  "$yomi6" "$@" 2>err.txt
  check "$name: status 2, one line" '[ $? -eq 2 ] && [ "$(wc -l <err.txt)" = 1 ] && grep -q -- "$says" err.txt'
}
# The first three are refused by their extensions already; named .json, by the file.
refused "the timings over the input" "must end in .json" --export doc.wav --timings doc.txt doc.txt
refused "subtitles and timings one file" "must end in .json" --export o.wav --subtitles o.srt --timings o.srt doc.txt
refused "timings over the sound" "must end in .json" --export o2.wav --timings o2.wav doc.txt
cp doc.txt doc.json
refused "the timings over a .json input" "FILE and --timings are the same file" --export doc.wav --timings doc.json doc.json
printf 'sound' >snd.wav
ln -s snd.wav snd.json
ln -s o.srt cues.json
refused "the timings a link to the sound" "--export and --timings are the same file" --export snd.wav --timings snd.json doc.txt
refused "the timings a link to the subtitles" "--subtitles and --timings are the same file" --export x.wav --subtitles o.srt --timings cues.json doc.txt
cp doc.txt in.wav
refused "the sound over the input" "FILE and --export are the same file" --export in.wav in.wav
refused "a symbolic link to the input" "FILE and --export" --export link.wav doc.txt
refused "a hard link to the input" "FILE and --timings" --export o.wav --timings hard.json doc.txt
refused "--wav over the input" "FILE and OUT.wav" --wav ./doc.txt doc.txt
refused "--pdf over the input" "FILE and OUT.pdf" --pdf "$work/doc.txt" doc.txt
check "refusals: every file as it was" 'cmp -s doc.txt doc.keep && cmp -s doc.json doc.keep && cmp -s in.wav doc.keep && [ "$(cat o.srt)" = old ] && [ "$(cat snd.wav)" = sound ] && [ ! -e x.wav ] && [ ! -e o.wav ] && [ ! -e doc.wav ] && [ ! -e o2.wav ] && [ -L link.wav ]'
"$yomi6" --export o.wav --timings o.txt doc.txt 2>err.txt
check "timings not named .json: status 2" '[ $? -eq 2 ] && grep -q "must end in .json" err.txt && [ ! -e o.wav ]'

# Over the export's 64 MiB: the message fits the options; a part within the first 64 MiB is
# exported from it.
head -c 67108865 /dev/zero | tr '\0' 'a' >huge.txt
"$yomi6" --export h.wav huge.txt 2>err.txt
check "too long, no range: the advice to use --from and --to" '[ $? -eq 1 ] && grep -q "longer than 64 MiB; export a part of it with --from and --to" err.txt'
"$yomi6" --wav h.wav --dialogue-voice other huge.txt 2>err.txt
check "too long for --wav with --dialogue-voice: the advice to export a part" '[ $? -eq 1 ] && grep -q "longer than 64 MiB; export a part of it with --export, --from and --to" err.txt && [ ! -e h.wav ]'
"$yomi6" --export h.wav --from 100 huge.txt 2>err.txt
check "too long, --from only: the advice to give --to" '[ $? -eq 1 ] && ! grep -q "export a part of it" err.txt && grep -q "give --to 67108864 or less" err.txt'
"$yomi6" --export h.wav --from 100 --to 70000000 huge.txt 2>err.txt
check "too long, --to past the limit: the same" '[ $? -eq 1 ] && grep -q "give --to" err.txt && [ ! -e h.wav ]'
"$yomi6" --export h.wav --from 100 --to 160 huge.txt 2>err.txt
head -c 60 huge.txt >part.txt
"$yomi6" --export p.wav part.txt
check "too long, a part within the limit: exported" '[ -s h.wav ] && [ "$(xc pcm h.wav)" = "$(xc pcm p.wav)" ]'

checks_done cli_inputs
