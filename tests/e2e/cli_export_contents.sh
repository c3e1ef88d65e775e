#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# What yomi6 --export writes, read by ffmpeg and ffprobe: subtitles keep every cue whatever the
# text holds (control characters, a timing line, tags, overrides); an export that reads nothing,
# or says nothing that sounds (indented Aozora notes), is refused and writes nothing; the
# shortest sound is a valid file in every format; a full disk is named as such in every format
# and leaves no file.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
require_tools ffmpeg ffprobe iconv
yomi6=$(realpath "$1")
enter_scratch_folder 'umount "$work/full" 2>/dev/null'
formats="wav flac ogg opus mp3"

cp932() { iconv -f utf-8 -t cp932; }
# The cues ffmpeg reads from a subtitle file, as ASS dialogue lines (formatting shown as {\...}).
dialogue() {
  ffmpeg -v error -i "$1" -f ass - | tr -d '\r' | grep '^Dialogue:' | sed 's/^\([^,]*,\)\{9\}//'
}

# Subtitles: seven lines, seven cues, each with its text, however a reader could misread it.
{
  printf 'はじめ\001の\033文\177です。\r\n'
  printf '00:00:01,000 --> 00:00:02,000\r\n'
  printf '<b>ふとじ</b>です。\r\n'
  printf '{\\an8}うえです。\r\n'
  printf 'ぬる\000のあと。\r\n'
  printf 'a & b &amp; c。\r\n'
  printf 'おわり。\r\n'
} | cp932 >cues.txt
"$yomi6" --export cues.wav --subtitles cues.srt cues.txt
check "subtitles: srt written" '[ $? -eq 0 ] && [ -s cues.srt ]'
"$yomi6" --export cues2.wav --subtitles cues.vtt cues.txt
check "subtitles: vtt written" '[ $? -eq 0 ] && [ -s cues.vtt ]'
check "subtitles: no control character in either file" \
  '! LC_ALL=C grep -q "[[:cntrl:]]" <(tr -d "\n" <cues.srt; tr -d "\n" <cues.vtt)'
for f in srt vtt; do
  packets=$(ffprobe -v error -show_entries packet=pts -of csv=p=0 "cues.$f" | wc -l)
  check "$f: ffprobe reads seven cues ($packets)" '[ "$packets" -eq 7 ]'
  dialogue "cues.$f" >"cues.$f.ass"
  check "$f: ffmpeg reads seven cues" '[ "$(wc -l <"cues.$f.ass")" -eq 7 ]'
  check "$f: the controls dropped" 'grep -qx "はじめの文です。" "cues.$f.ass"'
  check "$f: the text after a NUL kept" 'grep -qx "ぬるのあと。" "cues.$f.ass"'
  check "$f: the last cue kept" '[ "$(tail -n 1 "cues.$f.ass")" = "おわり。" ]'
  # An override that ffmpeg made of the text: "{\" not escaped as "\{\".
  check "$f: no formatting from the text" '! grep -q "\\(^\\|[^\\]\\){\\\\" "cues.$f.ass"'
done
check "srt: a timing line of the text is text" 'grep -qx "00:00:01,000 --＞ 00:00:02,000" cues.srt.ass'
check "srt: tags and overrides shown in full-width signs" \
  'grep -qx "＜b＞ふとじ＜/b＞です。" cues.srt.ass && grep -qx "｛\\\\an8}うえです。" cues.srt.ass'
check "srt: & as typed" 'grep -qx "a & b &amp; c。" cues.srt.ass'
check "vtt: a timing line of the text is text" 'grep -qx "00:00:01.000 --&gt; 00:00:02.000" <(sed -n 7p cues.vtt)'
check "vtt: tags shown as typed" 'grep -qx "<b>ふとじ</b>です。" cues.vtt.ass'
check "vtt: & as typed" 'grep -qx "a & b &amp; c。" cues.vtt.ass'

# An export that reads nothing: at the end of the text, an empty file, inside one character.
printf 'こんにちは。今日は2026年です。\n' | cp932 >s.txt
: >empty.txt
mkdir none
for f in $formats; do
  for args in "--from 31 s.txt" "empty.txt" "--from 1 --to 2 s.txt"; do
    # shellcheck disable=SC2086 # the arguments are split on purpose
    "$yomi6" --export "none/x.$f" --subtitles none/x.srt --timings none/x.json $args 2>err.txt
    status=$?
    check "$f, $args: refused (status $status)" \
      '[ $status -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "nothing to export" err.txt'
  done
done
# A text of indented Aozora notes only is read as pauses, one of blanks as silent bytes: nothing
# that sounds is said, so it is refused as well.
printf '　［＃ここから２字下げ］\r\n　［＃改ページ］\r\n　［＃ここで字下げ終わり］\r\n' | cp932 >notes.txt
printf ' \t \r\n  ' >blanks.txt
for f in wav mp3; do
  for args in "--readings auto --aozora on notes.txt" "blanks.txt"; do
    # shellcheck disable=SC2086 # the arguments are split on purpose
    "$yomi6" --export "none/n.$f" --subtitles none/n.srt $args 2>err.txt
    status=$?
    check "$f, $args: refused (status $status, $(cat err.txt))" \
      '[ $status -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "nothing to export" err.txt'
  done
done
check "nothing to export: no file written" '[ -z "$(ls -A none)" ]'

# The shortest sound (one unit at the shortest tick) is a file every reader opens.
printf 'あ' | cp932 >a.txt
for f in $formats; do
  "$yomi6" --export "short.$f" --speed 0 a.txt
  check "$f: shortest export written" '[ $? -eq 0 ] && [ -s "short.$f" ]'
  check "$f: shortest export decodes" \
    '[ -z "$(ffmpeg -v error -i "short.$f" -f null - 2>&1)" ] && ffprobe -v error "short.$f"'
done

# A full disk: the cause named, whatever the encoder, and no file left.
mkdir full
if mount -t tmpfs -o size=64k tmpfs full 2>/dev/null; then
  for _ in $(seq 200); do printf 'あいうえおかきくけこ。\r\n'; done | cp932 >long.txt
  for f in $formats; do
    "$yomi6" --export "full/x.$f" long.txt 2>err.txt
    status=$?
    check "$f, full disk: status 1 ($status)" '[ $status -eq 1 ]'
    check "$f, full disk: the cause named ($(cat err.txt))" \
      'grep -q "No space left on device" err.txt && ! grep -qi "internal" err.txt'
    check "$f, full disk: no file left" '[ -z "$(ls -A full)" ]'
  done
  umount full
else
  echo "SKIP: the full-disk checks need to mount a tmpfs (root)"
fi

checks_done cli_export_contents
