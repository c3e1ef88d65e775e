#!/usr/bin/env bash
# The editor as a user meets it: a real window on a virtual X server, a private PulseAudio
# server with a null sink. F3 in the window is heard on the sink; F4 makes it silent again.
#   editor_pulse.sh YOMI6
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
require_tools pulseaudio pactl parec Xvfb xdotool iconv
# shellcheck source=editor_setup.sh
. "$here/editor_setup.sh"
editor_setup pulse

# Eighty kana: over fourteen seconds of speech at the default 180 ms, longer than all the
# recordings below together.
printf '%s%s' 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらり' \
  'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらり' |
  iconv -f UTF-8 -t CP932 >kana.txt
open_editor "$yomi6" kana.txt
sleep 0.5

# The number of 50 ms blocks with a clear sound in a recording (signed 16-bit mono at 44100 Hz),
# the silence the sound server inserted when the editor's stream ran dry left out (blocks.awk).
# Each phase is its own recording, so that no timing between this script and the sound server
# matters.
loud_blocks() {
  od -An -v -td2 -w2 "$1" | awk -v frames=2205 -v loud=1000 -f "$here/blocks.awk" | head -n 1 |
    tr -cd 1 | wc -c
}

record_start before.raw || exit 1
sleep 0.6
record_stop
# How soon a loaded machine hands a key to the editor is not at issue: each recording lasts
# long enough for it, and after F4 the end of the recording must be silent (without F4 the
# speech would go on for seconds more).
record_start during.raw || exit 1
xdotool key --window "$window" F3
sleep 3.0
record_stop
xdotool key --window "$window" F4
record_start after.raw || exit 1
sleep 3.0
record_stop

before=$(loud_blocks before.raw)
during=$(loud_blocks during.raw)
after_pattern=$(od -An -v -td2 -w2 after.raw |
  awk -v frames=2205 -v loud=1000 -f "$here/blocks.awk" | head -n 1)
after_tail=${after_pattern: -30} # the last 1.5 s
after=$(printf '%s' "$after_tail" | tr -cd 1 | wc -c)
check "silent before F3 ($before loud blocks)" '[ "$before" -eq 0 ]'
check "heard after F3 ($during loud blocks of 50 ms)" '[ "$during" -ge 10 ]'
check "silent again after F4: the last 1.5 s of 3 s ($after loud blocks of ${#after_tail})" \
  '[ "${#after_tail}" -eq 30 ] && [ "$after" -eq 0 ]'
check "the editor is still running" 'kill -0 "$editor_pid"'
check "the editor said nothing on stderr" \
  '[ ! -s editor.err ]'

checks_done
