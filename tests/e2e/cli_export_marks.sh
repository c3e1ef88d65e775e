#!/usr/bin/env bash
# shellcheck disable=SC2016 # the checks are strings evaluated later
# yomi6 --export --chapter-marks as a whole process: one file with the chapters marked inside it
# (FLAC, Opus, Vorbis, MP3 and, through ffmpeg, .m4b) where the parts of --split chapters would
# start, as ffprobe reads them; a cue sheet beside it (the only marks of a WAVE file); a clear
# message without ffmpeg; nothing written when one file fails; the usage errors.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
require_tools ffprobe ffmpeg python3
yomi6=$(realpath "$1")
enter_scratch_folder
choose_dictionary_reading

body() { for _ in 1 2 3 4 5 6; do printf '%s\n' "$1"; done; }
{
  printf '第一章　はじまり\n' && body 'あさです。きょうもいいてんきです。'
  printf '第二章　まひる\n' && body 'ひるです。おなかがすきました。'
  printf '第三章　おわり\n' && body 'よるです。そろそろねましょう。'
} | iconv -f UTF-8 -t CP932 >book.txt

# Where the split parts start: the sums of the lengths before each.
mkdir split
"$yomi6" --export split/book.wav --split chapters book.txt
starts=$(python3 -c '
import sys, wave
total, out = 0.0, []
for name in sys.argv[1:]:
    out.append(total)
    w = wave.open(name)
    total += w.getnframes() / w.getframerate()
print(",".join("%.3f" % s for s in out))' split/book-0[123]-*.wav)
check "the split parts to compare with ($starts)" '[ "$(echo "$starts" | tr , "\n" | wc -l)" -eq 3 ]'

# ffprobe's chapters of a file: "start|title" lines.
chapters() {
  ffprobe -v error -show_chapters -of json "$1" | python3 -c '
import json, sys
for c in json.load(sys.stdin)["chapters"]:
    print("%s|%s" % (c["start_time"], c.get("tags", {}).get("title", "")))'
}
# Whether the chapters of a file have the titles and start within 10 ms of the split parts.
marks_fit() {
  chapters "$1" | python3 -c '
import sys
starts = [float(s) for s in sys.argv[1].split(",")]
rows = [line.rstrip("\n").split("|", 1) for line in sys.stdin]
titles = ["第一章\u3000はじまり", "第二章\u3000まひる", "第三章\u3000おわり"]
print(" ".join("%.3f" % float(r[0]) for r in rows), file=sys.stderr)
sys.exit(not (len(rows) == 3 and [r[1] for r in rows] == titles and
              all(abs(float(r[0]) - s) <= 0.010 for r, s in zip(rows, starts))))' "$starts"
}

mkdir marks
for ext in flac opus ogg mp3 m4b; do
  "$yomi6" --export "marks/book.$ext" --subtitles "marks/book-$ext.srt" --chapter-marks book.txt \
    2>"marks/$ext.err"
  check "$ext: status 0, nothing on standard error" '[ $? -eq 0 ] && [ ! -s "marks/$ext.err" ]'
  check "$ext: 3 chapters with their titles where the split parts start ($starts)" \
    'marks_fit "marks/book.$ext" 2>"marks/$ext.starts"'
  echo "$ext chapter starts: $(cat "marks/$ext.starts")"
  check "$ext: the sound decodes whole" \
    'ffmpeg -v error -nostdin -i "marks/book.$ext" -f null - 2>"marks/$ext.decode" && [ ! -s "marks/$ext.decode" ]'
done
# The subtitles of the one file run on its one clock: in order, and the second chapter's heading
# as far after its mark as the first one after the start (each part starts as its file would).
subtitles_follow() { # srt, the parts' starts
  python3 -c '
import re, sys
blocks = re.split(r"\n\s*\n", open(sys.argv[1], encoding="utf-8").read().strip())
def start(block):
    h, m, s, ms = re.search(r"(\d+):(\d+):(\d+),(\d+) -->", block).groups()
    return int(h) * 3600 + int(m) * 60 + int(s) + int(ms) / 1000
times = [start(b) for b in blocks]
first = next(start(b) for b in blocks if "第一章" in b)
second = next(start(b) for b in blocks if "第二章" in b)
mark = float(sys.argv[2].split(",")[1])
sys.exit(not (times == sorted(times) and abs(second - mark - first) <= 0.002))' "$1" "$2"
}
check "the subtitles follow the parts, in order" 'subtitles_follow marks/book-flac.srt "$starts"'
check "a cue sheet beside the file, three tracks" \
  '[ "$(grep -c "^  TRACK" marks/book.cue)" -eq 3 ] && grep -q "TITLE \"第二章　まひる\"" marks/book.cue'
check "no sound file left beside the .m4b" '[ "$(cd marks && ls | grep -cF "book.m4b")" -eq 1 ]'

"$yomi6" --export marks/book.wav --chapter-marks book.txt 2>wav.err
check "wav: the marks in the cue sheet alone" \
  '[ $? -eq 0 ] && grep -q "FILE \"book.wav\" WAVE" marks/book.cue && [ ! -s wav.err ]'

# Without ffmpeg, an .m4b is refused with one line that names it, and nothing is written.
PATH=/nonexistent "$yomi6" --export none.m4b --chapter-marks book.txt 2>none.err
check "no ffmpeg: status 1, one line naming ffmpeg, no file" \
  '[ $? -eq 1 ] && [ "$(wc -l <none.err)" -eq 1 ] && grep -q ffmpeg none.err && [ -z "$(ls none.* 2>/dev/null | grep -v none.err)" ]'

# One file cannot be written (the cue sheet's name is a folder): no file at all.
mkdir failed failed/book.cue
"$yomi6" --export failed/book.flac --timings failed/book.json --chapter-marks book.txt 2>failed.err
check "a file that cannot be written: status 1, and no other file left" \
  '[ $? -eq 1 ] && [ "$(ls -A failed)" = "book.cue" ]'

printf '吾輩は猫である。\n' | iconv -f UTF-8 -t CP932 >plain.txt
"$yomi6" --export plain.opus --chapter-marks plain.txt
check "no heading: the file without marks, no cue sheet" \
  '[ -s plain.opus ] && [ -z "$(chapters plain.opus)" ] && [ ! -e plain.cue ]'

"$yomi6" --export x.flac --split chapters --chapter-marks book.txt 2>err.txt
check "--split chapters with --chapter-marks: a usage error" '[ $? -eq 2 ] && grep -q "together" err.txt'
"$yomi6" --wav x.wav --chapter-marks book.txt 2>err.txt
check "--chapter-marks without --export: a usage error" '[ $? -eq 2 ] && grep -q "go with --export" err.txt'
"$yomi6" --export x.m4b book.txt 2>err.txt
check ".m4b without --chapter-marks: refused" '[ $? -ne 0 ] && [ ! -e x.m4b ]'

checks_done cli_export_marks
