#!/usr/bin/env bash
# Reading from the caret in a real window with real sound: a text of more than 10,000 bytes,
# the caret in its middle before a marker word that sounds as three short beats; what is heard
# starts with the marker (not with the text before the caret), then sounds on without a break
# longer than a tick for as long as the whole rest takes, well past the first pass of 4000 bytes.
# Then the same reading paused (silent within a tick and a sample) and resumed (heard again).
#   editor_follow_pulse.sh YOMI6
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
require_tools pulseaudio pactl parec Xvfb xdotool iconv
# shellcheck source=editor_setup.sh
. "$here/editor_setup.sh"
editor_setup pulse
mkdir -p "$XDG_CONFIG_HOME"
# 60 ms a tick: the speed, in the settings file the editor reads; the dictionary reading, whose
# silent ticks and passes the checks below count on.
speed=60
printf '[よみあげPadのセッティング]\r\nしゃべるスピード=%d\r\n読み方=0\r\n' "$speed" |
  iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini"

# Before the caret: 30 lines of 200 か (12,000 bytes), heard as one unbroken sound if read.
# At the caret: あ and eight blanks (silent ticks), three times. After it: 20 blocks of five
# kana, each followed by 190 empty lines (line ends take no tick), about 7,800 bytes that the
# reading takes in two passes or more.
{
  for _ in $(seq 1 30); do
    printf 'か%.0s' $(seq 1 200)
    printf '\n'
  done
  printf 'あ        あ        あ        \n'
  for _ in $(seq 1 20); do
    printf 'かきくけこ'
    printf '\n%.0s' $(seq 1 191)
  done
} | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >long.txt
bytes=$(stat -c %s long.txt)
check "the text is longer than 10,000 bytes ($bytes)" '[ "$bytes" -gt 10000 ]'

open_editor "$yomi6" long.txt
sleep 1.0
# The caret to the start of line 31, the marker's.
xdotool key --window "$window" ctrl+Home
xdotool key --window "$window" --repeat 30 --delay 5 Down
xdotool key --window "$window" Home
sleep 0.3

# Loud (1) or quiet (0) for every 20 ms block of a recording (signed 16-bit mono, 44100 Hz),
# without the silence the sound server inserted when the editor's stream ran dry (blocks.awk);
# how much there was goes to NAME.dropouts.
blocks() {
  od -An -v -td2 -w2 "$1" | awk -v frames=882 -v loud=1000 -f "$here/blocks.awk" >"$1.blocks"
  head -n 1 "$1.blocks"
  tail -n 1 "$1.blocks" >"$1.dropouts"
}

# Phase 1: the whole reading from the caret. Marker: three beats with a long quiet between.
# Body: 100 units at 60 ms, 6 s; the first 4000 bytes hold fewer than half of them.
# Recorded for twice as long as the reading takes: a loaded machine may take seconds to start it.
record_start reading.raw || exit 1
xdotool key --window "$window" ctrl+F3
sleep 14.0
record_stop
pattern=$(blocks reading.raw)
# From the first loud block on.
heard=${pattern#"${pattern%%1*}"}
# The marker: loud, then at least 200 ms quiet, three times, within the first 2 s.
marker=$(printf '%s' "${heard:0:100}" | grep -o '10\{10,\}' | wc -l)
check "the reading starts at the caret's word: three beats ($marker) [${heard:0:100}]" \
  '[ "$marker" -ge 3 ]'
# The body: after the last of the marker's quiet stretches, one loud run.
body=$(printf '%s' "$heard" | sed -E 's/^(1+0{10,}){3}//')
body=${body%%000000*} # ends at the first quiet of 120 ms or more
gaps=$(printf '%s' "$body" | grep -o '0\{4,\}' | wc -l)
body_ms=$(( ${#body} * 20 ))
check "the body sounds $body_ms ms, past the first pass (at least 5400 ms)" \
  '[ "$body_ms" -ge 5400 ]'
check "no quiet of 80 ms or more within the body ($gaps; server $(cat reading.raw.dropouts))" \
  '[ "$gaps" -eq 0 ]'

# Phase 2: pause and resume. How soon a loaded machine hands the keys to the editor is not at
# issue: silent from some moment on while paused (and the reading would have gone on for
# seconds more), and heard again after resuming.
sleep 0.5
xdotool key --window "$window" ctrl+F3
sleep 2.0
xdotool key --window "$window" Pause
record_start paused.raw || exit 1
sleep 3.0
record_stop
xdotool key --window "$window" Pause
record_start resumed.raw || exit 1
sleep 2.5
record_stop
xdotool key --window "$window" F4
paused_pattern=$(blocks paused.raw)
paused_tail=${paused_pattern: -75} # the last 1.5 s
paused=$(printf '%s' "$paused_tail" | tr -cd 1 | wc -c)
resumed=$(blocks resumed.raw | tr -cd 1 | wc -c)
check "silent while paused: the last 1.5 s of 3 s ($paused loud blocks of ${#paused_tail})" \
  '[ "${#paused_tail}" -eq 75 ] && [ "$paused" -eq 0 ]'
check "heard again after resuming ($resumed loud blocks of 20 ms)" '[ "$resumed" -ge 30 ]'
check "the editor is still running" 'kill -0 "$editor_pid"'
check "the editor said nothing on stderr" '[ ! -s editor.err ]'

checks_done
