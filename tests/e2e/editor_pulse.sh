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
# shellcheck source=pulse_server.sh
. "$here/pulse_server.sh"

# shellcheck source=xvfb_server.sh
. "$(dirname "$(realpath "$0")")/xvfb_server.sh"
work=$(mktemp -d)
editor_pid=""
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  stop_pulse
  stop_xvfb
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

start_pulse "$work/server" || exit 1
chmod 700 "$work/server"
export XDG_CONFIG_HOME="$work/config"

start_xvfb "$work/x" || exit 1

# Forty kana: over seven seconds of speech at the default 180 ms.
printf '%s' 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらり' |
  iconv -f UTF-8 -t CP932 >kana.txt
"$yomi6" kana.txt >editor.out 2>editor.err &
editor_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'よみあげPad' | head -n 1)
check "the editor's window appears" '[ -n "$window" ]'
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 0.5

# Peak level of each 50 ms block of a recording (signed 16-bit mono at 44100 Hz), and the
# number of blocks with a clear sound. Each phase is its own recording, so that no timing
# between this script and the sound server matters.
loud_blocks() {
  od -An -v -td2 -w2 "$1" |
    awk '{ v = $1 < 0 ? -$1 : $1; b = int((NR - 1) / 2205); if (v > peak[b]) peak[b] = v; n = b }
         END { for (i = 0; i <= n; i++) if (peak[i] > 1000) c++; print c + 0 }'
}

record_start before.raw || exit 1
sleep 0.6
record_stop
record_start during.raw || exit 1
xdotool key --window "$window" F3
sleep 1.5
record_stop
xdotool key --window "$window" F4
# One more tick after the stop, and the last sample sounds to its end: then silence.
sleep 0.8
record_start after.raw || exit 1
sleep 1.0
record_stop

before=$(loud_blocks before.raw)
during=$(loud_blocks during.raw)
after=$(loud_blocks after.raw)
check "silent before F3 ($before loud blocks)" '[ "$before" -eq 0 ]'
check "heard after F3 ($during loud blocks of 50 ms)" '[ "$during" -ge 10 ]'
check "silent again after F4 ($after loud blocks)" '[ "$after" -eq 0 ]'
check "the editor is still running" 'kill -0 "$editor_pid"'
check "the editor said nothing on stderr" \
  '[ ! -s editor.err ]'

checks_done
