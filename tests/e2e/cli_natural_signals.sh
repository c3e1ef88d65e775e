#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# --wav, --export and --speak with the natural voice ended by SIGINT, SIGTERM or SIGHUP while it
# speaks end by that signal with no engine process left running, no folder of the engine's
# files and no output file left behind. --wav and --export say the voice in their own process
# (caught once their output is being written), and so does --speak (caught while it is still
# saying the long text, two seconds after its start). (A program killed
# outright, whose engine the system ends, is tested with an engine that hangs:
# tests/core/natural_process_test.cpp.)
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
export YOMI6_NATURAL_VOICE_DIR="$2"
require_tools pgrep python3
enter_scratch_folder 'pkill -KILL -f -- "$work/tmp/yomi6-natural-"'
export QT_QPA_PLATFORM=offscreen
# No sound server: --speak says the text in silence, on the same clock.
export PULSE_SERVER="unix:$work/no-server"
mkdir tmp
export TMPDIR="$work/tmp"
# As a command typed at a terminal starts: SIGINT as default (a script's background jobs start
# with it ignored).
as_typed=(python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execvp(sys.argv[1], sys.argv[1:])')

python3 -c 'import sys
sys.stdout.buffer.write(("これは長い文章の一つで、声が読み上げます。\r\n" * 400).encode("cp932"))' >long.txt

# The engine processes of this test: each names a file in its folder under $TMPDIR.
engines() { pgrep -f -- "$TMPDIR/yomi6-natural-"; }

# The run has begun to write its output (the temporary file beside it).
wait_for_output() {
  local i
  for i in $(seq 600); do
    [ -n "$(ls -A out)" ] && return 0
    sleep 0.05
  done
  return 1
}

for mode in wav export speak; do
  case $mode in
    wav) args=(--engine natural --wav o.wav "$work/long.txt") ;;
    export) args=(--engine natural --export o.flac --subtitles o.srt "$work/long.txt") ;;
    speak) args=(--engine natural --speak "$work/long.txt") ;;
  esac
  for sig in INT TERM HUP; do
    rm -rf out tmp/* && mkdir out
    (cd out && exec "${as_typed[@]}" "$yomi6" "${args[@]}") 2>err.txt &
    pid=$!
    if [ $mode = speak ]; then
      sleep 2
      kill -0 $pid
    else
      wait_for_output
    fi
    started=$?
    kill -s $sig $pid
    wait $pid
    status=$?
    left=$(engines | tr '\n' ' ')
    check "$mode, SIG$sig: caught while it was speaking" '[ $started -eq 0 ]'
    check "$mode, SIG$sig: ended by the signal ($status)" '[ $status -eq $((128 + $(kill -l $sig))) ]'
    check "$mode, SIG$sig: no engine left running when it has ended ($left)" '[ -z "$left" ]'
    check "$mode, SIG$sig: no folder of the engine left" '[ -z "$(ls -A tmp)" ]'
    check "$mode, SIG$sig: no output file left" '[ -z "$(ls -A out)" ]'
    pkill -KILL -f -- "$TMPDIR/yomi6-natural-"
  done
done

checks_done cli_natural_signals
