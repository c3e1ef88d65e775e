#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# --wav with --dialogue-voice as a whole process, with the real engines: the lines in 「」 said by
# the other slot's samples or the natural voice's happy style, the WAVE file the one --export
# writes, the samples fitted to the tick with --fit-samples; the settings' choice when the
# option is not given; usage errors of the other modes.
#   cli_dialogue.sh YOMI6 VOICE_DIR
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
export YOMI6_NATURAL_VOICE_DIR="$2"
require_tools soxi
enter_scratch_folder
mkdir -p "$XDG_CONFIG_HOME"

printf 'ねこがいた。「はい、そうです」とねこはいった。' | iconv -f utf-8 -t cp932 >t.txt
"$yomi6" --wav plain.wav t.txt

for voice in other happy; do
  "$yomi6" --wav "$voice.wav" --dialogue-voice "$voice" t.txt 2>"$voice.err"
  check "wav $voice: status, nothing on standard error" '[ $? -eq 0 ] && [ ! -s "$voice.err" ]'
  "$yomi6" --export "x-$voice.wav" --dialogue-voice "$voice" t.txt
  check "wav $voice: the WAVE file --export writes" 'cmp -s "$voice.wav" "x-$voice.wav"'
  check "wav $voice: not the sound of one voice" '! cmp -s "$voice.wav" plain.wav'
done
check "wav other: the samples' 8 bits at 16000 Hz" \
  '[ "$(soxi -r other.wav)" = 16000 ] && [ "$(soxi -b other.wav)" = 8 ]'
check "wav happy: the natural voice's 16 bits at 48000 Hz" \
  '[ "$(soxi -r happy.wav)" = 48000 ] && [ "$(soxi -b happy.wav)" = 16 ]'
"$yomi6" --wav - --dialogue-voice happy t.txt >stdout.wav
check "wav happy: standard output holds the same sound" 'cmp -s stdout.wav happy.wav'
"$yomi6" --wav off.wav --dialogue-voice off t.txt
check "wav off: one voice, as without the option" 'cmp -s off.wav plain.wav'

# --fit-samples at a fast speed: the samples that overrun their tick shortened, as the sample
# voice's --wav shortens them; without it, the export's sound.
"$yomi6" --wav fit.wav --dialogue-voice other --speed 55 --fit-samples t.txt
"$yomi6" --wav nofit.wav --dialogue-voice other --speed 55 --no-fit-samples t.txt
"$yomi6" --export x-fast.wav --dialogue-voice other --speed 55 t.txt
check "wav --no-fit-samples: the export's sound" 'cmp -s nofit.wav x-fast.wav'
check "wav --fit-samples: the last sample shortened, the sound ends sooner" \
  '[ "$(soxi -s fit.wav)" -lt "$(soxi -s nofit.wav)" ]'

# The settings' せりふの声 (1: the other slot) when the command line names none; off overrides it.
printf '[Voices]\r\nDialogueVoice=1\r\n' >"$XDG_CONFIG_HOME/yomi6.ini"
"$yomi6" --wav settings.wav t.txt
check "settings: the lines in the other slot's voice" 'cmp -s settings.wav other.wav'
"$yomi6" --wav settings-off.wav --dialogue-voice off t.txt
check "settings: --dialogue-voice off goes first" 'cmp -s settings-off.wav plain.wav'

for mode in "--units" "--pdf o.pdf" "--reading"; do
  # shellcheck disable=SC2086 # the mode and its output name are two words
  "$yomi6" $mode --dialogue-voice other t.txt >usage.out 2>usage.err
  check "$mode: --dialogue-voice is a usage error" \
    '[ $? -eq 2 ] && grep -q "dialogue-voice goes with --export, --wav and --speak" usage.err'
done

checks_done cli_dialogue
