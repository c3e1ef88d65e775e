#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# yomi6 --export --split chapters as a whole process: one sound file per chapter with its own
# subtitles and timings, named by number and title, a playlist of them, lengths that add up to
# the unsplit export's, nothing written when one file fails, and the usage errors.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder
choose_dictionary_reading

# The length of a WAVE file in seconds.
seconds() { python3 -c 'import sys, wave; w = wave.open(sys.argv[1]); print(w.getnframes() / w.getframerate())' "$1"; }

# Chapters of some length, as a book's are: each part adds at most its own ending to the time.
body() { for _ in 1 2 3 4 5 6 7 8; do printf '%s\n' "$1"; done; }
{
  printf 'まえがき。\n'
  printf '第一章　はじまり\n' && body 'あさです。きょうもいいてんきです。'
  printf '第二章　A/B\n' && body 'ひるです。おなかがすきました。'
  printf '第三章　おわり\n' && body 'よるです。そろそろねましょう。'
} | iconv -f UTF-8 -t CP932 >book.txt

"$yomi6" --export whole.wav book.txt 2>whole.err
check "the unsplit export" '[ $? -eq 0 ] && [ -s whole.wav ]'

mkdir out
"$yomi6" --export out/book.wav --subtitles out/book.srt --timings out/book.json \
  --split chapters book.txt 2>split.err
check "split: status 0, nothing on standard error" '[ $? -eq 0 ] && [ ! -s split.err ]'
expected='book-00.json
book-00.srt
book-00.wav
book-01-第一章　はじまり.json
book-01-第一章　はじまり.srt
book-01-第一章　はじまり.wav
book-02-第二章　A_B.json
book-02-第二章　A_B.srt
book-02-第二章　A_B.wav
book-03-第三章　おわり.json
book-03-第三章　おわり.srt
book-03-第三章　おわり.wav
book.m3u8'
check "split: the files by number and title, the slash made safe, no unsplit file" \
  '[ "$(cd out && LC_ALL=C ls)" = "$expected" ]'
check "split: each chapter's subtitles show its own text" \
  'grep -q "ひるです" "out/book-02-第二章　A_B.srt" && ! grep -q "あさです" "out/book-02-第二章　A_B.srt"'
check "split: each chapter's subtitles count from its own start" \
  '[ "$(sed -n 2p "out/book-03-第三章　おわり.srt" | cut -c1-7)" = "00:00:0" ]'
check "split: the timings are whole JSON" \
  'python3 -c "import json, sys; json.load(open(sys.argv[1]))" "out/book-01-第一章　はじまり.json"'
check "split: the playlist lists the four files in order with their titles" \
  '[ "$(grep -v "^#" out/book.m3u8 | tr "\n" "|")" = "book-00.wav|book-01-第一章　はじまり.wav|book-02-第二章　A_B.wav|book-03-第三章　おわり.wav|" ] &&
   grep -q "^#EXTINF:[0-9]*,第二章　A/B$" out/book.m3u8'
sum=0
for f in out/*.wav; do sum=$(python3 -c "print($sum + $(seconds "$f"))"); done
whole=$(seconds whole.wav)
check "split: the parts last as long as the whole, within 1 % ($sum s against $whole s)" \
  'python3 -c "import sys; sys.exit(abs($sum - $whole) > 0.01 * $whole)"'

# One file cannot be written (its name is taken by a folder): no file at all.
mkdir failed failed/book-02-第二章　A_B.wav
"$yomi6" --export failed/book.wav --split chapters book.txt 2>failed.err
check "a file that cannot be written: status 1, named, and no other file left" \
  '[ $? -eq 1 ] && grep -q "book-02" failed.err && [ "$(ls failed)" = "book-02-第二章　A_B.wav" ]'

printf '吾輩は猫である。\n' | iconv -f UTF-8 -t CP932 >plain.txt
"$yomi6" --export plain.wav --split chapters plain.txt
check "no heading: one file and its playlist" '[ -s plain-00.wav ] && [ -s plain.m3u8 ] && [ ! -e plain.wav ]'

"$yomi6" --export x.wav --split pages book.txt 2>err.txt
check "--split pages: a usage error" '[ $? -eq 2 ] && grep -q "chapters" err.txt'
"$yomi6" --wav x.wav --split chapters book.txt 2>err.txt
check "--split without --export: a usage error" '[ $? -eq 2 ] && grep -q "go with --export" err.txt'

checks_done cli_export_split
