#!/usr/bin/env bash
# yomi6 --schedule and --wav as whole processes: the tick schedule of a pass in both voices,
# line ends, standard input, the rendered file's format and length, atomic output and errors.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
samples=$(realpath "$2") # resources/samples, for the length of one recorded sample
enter_scratch_folder
# The settings file of this run only: the dictionary reading, whose ticks are pinned below.
choose_dictionary_reading

lines() { tr '\n' ' ' <"$1" | sed 's/ $//'; }
le32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; } # file, offset

# ｶﾞｯｺｳ: GA, a silent tick for ｯ, KO, U, a silent tick for the terminator.
printf '\xB6\xDE\xAF\xBA\xB3' >gakkou.txt
"$yomi6" --schedule gakkou.txt >s.out 2>s.err
check "schedule: status" '[ $? -eq 0 ]'
check "schedule: female by default" '[ "$(lines s.out)" = "IDF_GA - IDF_KO IDF_U -" ]'
check "schedule: nothing on stderr" '[ ! -s s.err ]'
"$yomi6" --schedule gakkou.txt --voice male >m.out
check "schedule: male voice" '[ "$(lines m.out)" = "IDW_GA - IDW_KO IDW_U -" ]'
"$yomi6" --voice female --schedule - <gakkou.txt >stdin.out
check "schedule: standard input" '[ "$(lines stdin.out)" = "IDF_GA - IDF_KO IDF_U -" ]'

# A dictionary word and line ends: 漢字 reads ｶﾝｼﾞ; CR LF costs no tick.
printf '\x8A\xBF\x8E\x9A\r\n-\xBC\xDE\xAC\r\n' >kanji.txt
"$yomi6" --schedule kanji.txt >k.out
check "schedule: word, pause, line ends" '[ "$(lines k.out)" = "IDF_KA IDF_NN IDF_ZI IDF_S IDF_JA -" ]'
: >empty.txt
"$yomi6" --schedule empty.txt >e.out
check "schedule: empty text is one silent tick" '[ "$(lines e.out)" = "-" ]'

# --wav: 8-bit mono at 16000 Hz; one pass lasts until its last tick or the end of its last
# sample, whichever is later.
printf '\xB1' >a.txt
"$yomi6" --wav a.wav a.txt --speed 1000 2>w.err
check "wav: status" '[ $? -eq 0 ] && [ ! -s w.err ]'
check "wav: RIFF WAVE" '[ "$(head -c 4 a.wav)" = RIFF ] && [ "$(od -An -c -j8 -N8 a.wav | tr -d " ")" = "WAVEfmt" ]'
check "wav: 16000 Hz, mono, 8 bits" '[ "$(le32 a.wav 24)" = 16000 ] && [ "$(od -An -tu2 -j22 -N2 a.wav | tr -d " ")" = 1 ] && [ "$(od -An -tu2 -j34 -N2 a.wav | tr -d " ")" = 8 ]'
check "wav: sizes agree" '[ "$(le32 a.wav 4)" -eq $(($(stat -c %s a.wav) - 8)) ] && [ "$(le32 a.wav 40)" -eq $(($(stat -c %s a.wav) - 44)) ]'
check "wav: one tick of 1000 ms" '[ "$(le32 a.wav 40)" -eq 16000 ]'
# At the 10 ms floor the end tick comes before the sample ends: the sample is heard whole,
# every 8000 Hz value twice over.
# shellcheck disable=SC2034 # read by a check condition
a_data=$(($(stat -c %s "$samples/IDF_A.wav") - 44))
"$yomi6" --wav fast.wav a.txt --speed 0
check "wav: speed 0, the sample sounds to its end" '[ "$(le32 fast.wav 40)" -eq $((2 * a_data)) ]'
bytes() { od -An -tu1 -v -w1 -j44 "$1" | tr -d " "; } # data bytes, one per line
check "wav: the recorded values at even positions" '[ "$(bytes fast.wav | sed -n "1~2p")" = "$(bytes "$samples/IDF_A.wav")" ]'
"$yomi6" --wav - a.txt --speed 1000 >stdout.wav
check "wav: - writes to standard output" 'cmp -s stdout.wav a.wav'
"$yomi6" --wav long.wav gakkou.txt --speed 100 --voice male
check "wav: longer text" '[ $? -eq 0 ] && [ "$(le32 long.wav 40)" -ge $((4 * 1600)) ]'

# The output appears whole: an existing file is replaced, no temporary file is left behind.
printf 'old' >over.wav
"$yomi6" --wav over.wav a.txt --speed 1000
check "wav: replaces an existing file" 'cmp -s over.wav a.wav'
check "wav: no temporary files" '[ -z "$(ls | grep -E "\.wav\..{6}$")" ]'

# Errors: status 1 and one line on standard error; usage errors: status 2.
"$yomi6" --wav nodir/x.wav a.txt 2>err.txt
check "wav: missing directory" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "nodir/x.wav" err.txt'
mkdir adir
"$yomi6" --wav adir a.txt 2>err.txt
check "wav: output is a directory" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && [ -z "$(ls adir)" ]'
"$yomi6" --wav x.wav missing.txt 2>err.txt
check "wav: missing input" '[ $? -eq 1 ] && grep -q missing.txt err.txt && [ ! -e x.wav ]'
"$yomi6" --schedule missing.txt 2>err.txt
check "schedule: missing input" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ]'
if [ "$(id -u)" -ne 0 ]; then
  mkdir ro && chmod 555 ro
  "$yomi6" --wav ro/x.wav a.txt 2>err.txt
  check "wav: unwritable directory" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ]'
fi
"$yomi6" --wav x.wav 2>err.txt
check "wav: missing FILE is a usage error" '[ $? -eq 2 ]'
"$yomi6" --schedule a.txt --speed 1001 2>err.txt
check "speed out of range is a usage error" '[ $? -eq 2 ]'
"$yomi6" --schedule a.txt --voice child 2>err.txt
check "unknown voice is a usage error" '[ $? -eq 2 ]'

# A 4000-byte text renders.
head -c 4000 /dev/zero | tr '\0' '\261' >long.txt
"$yomi6" --wav long4000.wav long.txt
check "wav: 4000-byte text" '[ $? -eq 0 ] && [ "$(le32 long4000.wav 40)" -ge $((4000 * 180 * 16)) ]'
"$yomi6" --schedule long.txt >long.sched
check "schedule: 4000 units and the end tick" '[ "$(wc -l <long.sched)" -eq 4001 ]'

# Voice and speed default to the settings file's, which is read but never written.
mkdir -p config
printf '[\x82\xe6\x82\xdd\x82\xa0\x82\xb0Pad\x82\xcc\x83\x5a\x83\x62\x83\x65\x83\x42\x83\x93\x83\x4f]\r\n\x90\xba\x82\xcc\x8e\xbf=1\r\n\x82\xb5\x82\xe1\x82\xd7\x82\xe9\x83\x58\x83\x73\x81\x5b\x83\x68=40\r\n\x93\xc7\x82\xdd\x95\xfb=0\r\n' >config/yomi6.ini
cp config/yomi6.ini ini.before
printf '\x82\xaa\x82\xc1\x82\xb1\x82\xa4' >gakkou.txt
"$yomi6" --schedule gakkou.txt >ini.out
check "schedule: voice from the settings file" '[ "$(lines ini.out)" = "IDW_GA - IDW_KO IDW_U -" ]'
"$yomi6" --schedule gakkou.txt --voice female >ini2.out
check "schedule: --voice beats the settings file" '[ "$(lines ini2.out)" = "IDF_GA - IDF_KO IDF_U -" ]'
"$yomi6" --schedule gakkou.txt --speed 40 --voice male >ini3.out
"$yomi6" --wav ini.wav gakkou.txt
"$yomi6" --wav ini3.wav gakkou.txt --speed 40
check "wav: speed from the settings file" 'cmp -s ini.wav ini3.wav'
"$yomi6" --wav ini4.wav gakkou.txt --speed 180
check "wav: --speed beats the settings file" '! cmp -s ini.wav ini4.wav'
check "the settings file is never written" 'cmp -s config/yomi6.ini ini.before'

checks_done
