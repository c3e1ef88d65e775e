#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# yomi6 --engine natural as a whole process, with the real engine: --units lists each mora with
# its source bytes and start, --wav renders the whole text, and a missing voice is one line and
# the sample voice instead; --sample-rate 16000. Usage errors of --engine, --style and
# --sample-rate.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
export YOMI6_NATURAL_VOICE_DIR="$2"
require_tools soxi
enter_scratch_folder
tab=$'\t'

printf '今日は2026年です。\r\n雨。' | iconv -f utf-8 -t cp932 >t.txt
"$yomi6" --engine natural --units t.txt >u.out 2>u.err
check "units: status, nothing on standard error" '[ $? -eq 0 ] && [ ! -s u.err ]'
check "units: five fields on every line" '[ -z "$(awk -F"\t" "NF != 5" u.out)" ]'
check "units: 今日 is キョ ー from bytes 0-4" \
  'grep -qx "キョ${tab}0${tab}4${tab}今日${tab}[0-9]*" u.out && grep -qx "ー${tab}0${tab}4${tab}今日${tab}[0-9]*" u.out'
check "units: the morae of 2026年 come from the number with its counter" \
  '[ "$(grep -c "${tab}6${tab}12${tab}2026年${tab}" u.out)" -eq 10 ]'
check "units: the second line's 雨 after the first line's bytes" \
  'grep -q "^ア${tab}20${tab}22${tab}雨${tab}" u.out'
check "units: start times never go backwards" \
  '[ -z "$(awk -F"\t" "\$5 < last { print } { last = \$5 }" u.out)" ]'

"$yomi6" --engine natural --wav w.wav t.txt 2>w.err
check "wav: status" '[ $? -eq 0 ] && [ ! -s w.err ]'
check "wav: 16-bit mono at the voice's 48000 Hz" \
  '[ "$(soxi -r w.wav)" = 48000 ] && [ "$(soxi -c w.wav)" = 1 ] && [ "$(soxi -b w.wav)" = 16 ]'
last_ms=$(tail -1 u.out | cut -f5)
wav_ms=$(soxi -D w.wav | awk '{ printf "%d", $1 * 1000 }')
check "wav: as long as the units say (last unit starts before the end)" \
  '[ "$wav_ms" -gt "$last_ms" ] && [ "$wav_ms" -lt $((last_ms + 1000)) ]'
"$yomi6" --engine natural --style happy --voice male --speed 90 --wav fast.wav t.txt 2>fast.err
fast_ms=$(soxi -D fast.wav | awk '{ printf "%d", $1 * 1000 }')
check "wav: --speed 90 is faster than the default 180" \
  '[ ! -s fast.err ] && [ "$fast_ms" -lt $((wav_ms * 3 / 4)) ]'
"$yomi6" --engine natural --wav - t.txt >stdout.wav
check "wav: standard output holds the same sound" 'cmp -s stdout.wav w.wav'

# --export: every format, the cues and the timings of the natural voice.
"$yomi6" --engine natural --export x.wav --subtitles x.srt --timings x.json t.txt 2>x.err
check "export: status, nothing on standard error" '[ $? -eq 0 ] && [ ! -s x.err ]'
check "export: the WAVE file is the sound --wav writes" 'cmp -s x.wav w.wav'
for f in flac ogg; do
  "$yomi6" --engine natural --export "x.$f" t.txt
  check "export $f: 48000 Hz mono, as long as the WAVE file" \
    '[ "$(soxi -r "x.$f")" = 48000 ] && [ "$(soxi -c "x.$f")" = 1 ] &&
     [ "$(soxi -s "x.$f")" -ge "$(soxi -s x.wav)" ] && [ "$(soxi -s "x.$f")" -lt $(($(soxi -s x.wav) + 4096)) ]'
done
"$yomi6" --engine natural --export x.opus t.txt && "$yomi6" --engine natural --export x.mp3 t.txt
check "export opus and mp3: written" \
  '[ "$(head -c 4 x.opus)" = OggS ] && [ -n "$(head -c 36 x.opus | grep -a OpusHead)" ] && [ -s x.mp3 ]'
check "export: the timings file of the natural voice" \
  'head -1 x.json | grep -qx "{\"format\":\"yomi6-timings\",\"version\":2,\"engine\":\"natural\",\"sampleRate\":48000,\"units\":\[" &&
   grep -q "^{\"mora\":\"キョ\",\"startMs\":[0-9]*,\"endMs\":[0-9]*,\"source\":\[0,4\]}" x.json'
# Each cue starts where a mora starts and ends where a mora ends, the times --units gives too.
check "export: the cues lie on the morae's times" 'python3 - x.srt x.json u.out <<"PY"
import json, re, sys
srt, timings, units = open(sys.argv[1]).read(), json.load(open(sys.argv[2])), open(sys.argv[3])
morae = [u for u in timings["units"] if u["mora"]]
starts, ends = {u["startMs"] for u in morae}, {u["endMs"] for u in morae}
def ms(t):
    h, m, s = t.replace(",", ".").split(":")
    return round((int(h) * 3600 + int(m) * 60 + float(s)) * 1000)
cues = re.findall(r"(\S+) --> (\S+)", srt)
assert len(cues) == 2, cues
assert all(ms(a) in starts and ms(b) in ends for a, b in cues), (cues, starts, ends)
listed = [int(line.split("\t")[4]) for line in units]
assert listed == [u["startMs"] for u in timings["units"]], "units and timings differ"
PY'
# --sample-rate 16000: the same sentence, resampled to a third of the samples, and its
# timings counted at that rate.
"$yomi6" --engine natural --sample-rate 16000 --export low.wav --timings low.json t.txt 2>low.err
check "export 16000 Hz: status, 16-bit mono at 16000 Hz" \
  '[ $? -eq 0 ] && [ ! -s low.err ] && [ "$(soxi -r low.wav)" = 16000 ] && [ "$(soxi -c low.wav)" = 1 ]'
check "export 16000 Hz: as long as the 48000 Hz sound, within a millisecond a sentence" \
  '[ $(( $(soxi -s low.wav) * 3 - $(soxi -s x.wav) )) -le 96 ] &&
   [ $(( $(soxi -s x.wav) - $(soxi -s low.wav) * 3 )) -le 96 ]'
check "export 16000 Hz: the timings say so and keep the morae's times" \
  'grep -q "\"sampleRate\":16000" low.json &&
   [ "$(grep -o "\"startMs\":[0-9]*" low.json)" = "$(grep -o "\"startMs\":[0-9]*" x.json)" ]'

# A missing voice: one line naming the file, and the sample voice speaks.
YOMI6_NATURAL_VOICE_DIR="$work/none" "$yomi6" --engine natural --units t.txt >m.out 2>m.err
status=$?
"$yomi6" --units t.txt >samples.out
check "missing voice: status 0 and the sample voice's units" \
  '[ $status -eq 0 ] && cmp -s m.out samples.out'
check "missing voice: one line naming the file" \
  '[ "$(wc -l <m.err)" -eq 1 ] && grep -q "$work/none/tohoku-f01-neutral.htsvoice" m.err'

# No engine program is needed and nothing is left on disk: with no open_jtalk on the PATH,
# every mode speaks, and the folder for temporary files is as empty afterwards as before.
python3 -c 'import sys
sys.stdout.buffer.write(("今日は晴れです。" * 12 + "\r\n").encode("cp932"))' >many.txt
mkdir nobin tmp
for mode in wav export units; do
  case $mode in
    wav) args=(--wav none.wav) ;;
    export) args=(--export none.flac) ;;
    units) args=(--units) ;;
  esac
  PATH="$work/nobin" TMPDIR="$work/tmp" "$yomi6" --engine natural "${args[@]}" many.txt >none.out 2>none.err
  status=$?
  check "no open_jtalk, $mode: status 0, nothing on standard error" \
    '[ $status -eq 0 ] && [ ! -s none.err ]'
done
check "no open_jtalk: the sound and the morae written, nothing left in TMPDIR" \
  '[ "$(soxi -r none.wav)" = 48000 ] && [ -s none.flac ] && [ "$(grep -c "^ハ${tab}" none.out)" -eq 12 ] &&
   [ -z "$(ls -A tmp)" ]'
# A relative TMPDIR that looks like an option: the engine is given absolute paths.
mkdir -- "$work/-x"
TMPDIR=-x "$yomi6" --engine natural --units t.txt >rel.out 2>rel.err
check "TMPDIR=-x: read as a folder, not an engine option" '[ $? -eq 0 ] && [ ! -s rel.err ] && cmp -s rel.out u.out'
# A voice file that is no voice speaks with the sample voice, as a missing one does.
mkdir bad-voice && head -c 4000 /dev/urandom >bad-voice/tohoku-f01-neutral.htsvoice
YOMI6_NATURAL_VOICE_DIR="$work/bad-voice" "$yomi6" --engine natural --units many.txt >bad.out 2>bad.err
status=$?
"$yomi6" --units many.txt >samples-many.out
check "unusable voice file: one line naming it, and the sample voice's units" \
  '[ $status -eq 0 ] && [ "$(wc -l <bad.err)" -eq 1 ] && grep -q "bad-voice/tohoku-f01-neutral.htsvoice cannot be used" bad.err && cmp -s bad.out samples-many.out'
# An analyzer folder that cannot be loaded is said for the natural voice as for the samples.
YOMI6_MECAB_DIC="$work/no-dic" "$yomi6" --engine natural --units t.txt >dic.out 2>dic.err
check "a bad YOMI6_MECAB_DIC is said once" \
  '[ $? -eq 0 ] && [ "$(wc -l <dic.err)" -eq 1 ] && grep -q "^yomi6: automatic reading: .*$work/no-dic" dic.err'

# --wav streams the sound into its file as the engine says it (the sound is not held whole in
# memory): the temporary file beside the output grows while the run goes on.
python3 -c 'import sys
sys.stdout.buffer.write(("雨が降る日は、家で本を読みます。" * 4 + "\r\n").encode("cp932") * 10)' >stream.txt
mkdir stream
YOMI6_NATURAL_WORKERS=1 "$yomi6" --engine natural --wav stream/s.wav stream.txt &
pid=$!
sizes=""
while kill -0 $pid 2>/dev/null; do
  size=$(find stream -name '.yomi6-*.tmp' -printf '%s\n' 2>/dev/null | head -1)
  [ -n "$size" ] && [ "$size" != "${sizes##* }" ] && sizes="$sizes $size"
  sleep 0.1
done
wait $pid
status=$?
check "wav: streamed, the file grew while the engine spoke (sizes:$sizes)" \
  '[ $status -eq 0 ] && [ "$(echo $sizes | wc -w)" -ge 3 ] && [ -s stream/s.wav ] && [ "$(soxi -r stream/s.wav)" = 48000 ]'

# Without $YOMI6_NATURAL_VOICE_DIR the voice is found under the prefix of an installed program,
# and in the source tree of a program run from its build folder (one that holds CMakeCache.txt);
# where it is in neither, the one line names the file and the folder looked in. The program is
# linked into each layout, as /proc/self/exe then names it there, and so is yomi6-sound, which
# runs --units: in libexec as installed, beside it elsewhere.
voices=$(realpath "$YOMI6_NATURAL_VOICE_DIR")
real=$(pwd -P)
sound="$(dirname "$yomi6")/yomi6-sound"
mkdir -p prefix/bin prefix/libexec prefix/share/yomi6/voices tree/build/src tree/voices bare/bin
ln "$yomi6" prefix/bin/yomi6 2>/dev/null || cp "$yomi6" prefix/bin/yomi6
ln "$sound" prefix/libexec/yomi6-sound 2>/dev/null || cp "$sound" prefix/libexec/yomi6-sound
ln prefix/bin/yomi6 tree/build/src/yomi6 && ln prefix/bin/yomi6 bare/bin/yomi6
ln prefix/libexec/yomi6-sound tree/build/src/yomi6-sound
ln prefix/libexec/yomi6-sound bare/bin/yomi6-sound
ln -s "$voices" prefix/share/yomi6/voices/tohoku-f01
ln -s "$voices" tree/voices/tohoku-f01
: >tree/build/CMakeCache.txt
for layout in prefix/bin tree/build/src bare/bin; do
  env -u YOMI6_NATURAL_VOICE_DIR "$layout/yomi6" --engine natural --units t.txt \
    >"${layout%%/*}.out" 2>"${layout%%/*}.err"
done
check "installed: the voice under the prefix" '[ ! -s prefix.err ] && cmp -s prefix.out u.out'
check "build folder: the voice of the source tree" '[ ! -s tree.err ] && cmp -s tree.out u.out'
check "nowhere: one line naming the file and where it was looked for ($(cat bare.err))" \
  '[ "$(wc -l <bare.err)" -eq 1 ] && cmp -s bare.out samples.out &&
   grep -qF "tohoku-f01-neutral.htsvoice is in none of $real/bare/share/yomi6/voices/tohoku-f01" bare.err'

# A slot that keeps the natural voice in the settings file (as 声の管理 writes it) speaks with
# it without --engine, in its variant and style; --engine samples still has the samples, and
# no voice folder of that name is looked for.
"$yomi6" --engine natural --style happy --wav happy.wav t.txt
"$yomi6" --engine natural --style sad --voice male --wav low-sad.wav t.txt
"$yomi6" --wav samples.wav t.txt
mkdir -p config
printf '[Voices]\r\nFemaleSlot=natural:happy\r\nMaleSlot=natural-lowered:sad\r\n' >config/yomi6.ini
"$yomi6" --wav slot.wav t.txt 2>slot.err
check "slot: --wav speaks with the female slot's natural voice ($(head -c 200 slot.err))" \
  '[ ! -s slot.err ] && cmp -s slot.wav happy.wav'
"$yomi6" --units t.txt --voice male >slot-male.out 2>slot-male.err
"$yomi6" --voice male --wav slot-male.wav t.txt
check "slot: the male slot's lowered voice, sad, in --units and --wav" \
  '[ ! -s slot-male.err ] && grep -q "^キョ${tab}0${tab}4${tab}" slot-male.out && cmp -s slot-male.wav low-sad.wav'
"$yomi6" --export slot-x.wav t.txt 2>slot-x.err
check "slot: --export speaks with it" '[ ! -s slot-x.err ] && cmp -s slot-x.wav happy.wav'
"$yomi6" --engine samples --wav slot-samples.wav t.txt 2>slot-samples.err
check "slot: --engine samples speaks with the samples, silently" \
  '[ ! -s slot-samples.err ] && cmp -s slot-samples.wav samples.wav'
rm config/yomi6.ini

# Usage errors.
for args in "--engine bogus --units t.txt" "--style calm --engine natural --units t.txt" \
  "--style sad --units t.txt" "--engine natural --reading t.txt" "--engine" \
  "--sample-rate 22050 --engine natural --wav w2.wav t.txt" "--sample-rate 16000 --wav w2.wav t.txt" \
  "--sample-rate 16000 --engine natural --units t.txt"; do
  # shellcheck disable=SC2086 # the words of each line are its arguments
  "$yomi6" $args >/dev/null 2>e.err
  check "usage: $args" '[ $? -eq 2 ] && [ "$(wc -l <e.err)" -eq 1 ]'
done
"$yomi6" --engine samples --units t.txt >s.out
check "--engine samples is the default" 'cmp -s s.out samples.out'

checks_done cli_natural
