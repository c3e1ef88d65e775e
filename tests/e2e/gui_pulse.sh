#!/usr/bin/env bash
# Runs a Qt Test program offscreen under a private PulseAudio server, so that its sound goes to
# the server's null sink "test" and the program's player has an output to play into. Everything
# the sink plays, from before the program starts to its end, is recorded into the file named by
# YOMI6_TEST_RECORDING (signed 16-bit mono 44100 Hz, raw), which grows while the program runs,
# so that a test can check what was heard.
#   gui_pulse.sh TEST_PROGRAM [ARGUMENTS...]
set -u
test_binary=$(realpath "$1")
shift
here=$(dirname "$(realpath "$0")")
# shellcheck source=checks.sh
. "$here/checks.sh"
require_tools pulseaudio pactl parec
# shellcheck source=pulse_server.sh
. "$here/pulse_server.sh"
enter_scratch_folder stop_pulse
start_pulse "$work" || exit 1
record_start "$work/heard.raw" || exit 1
YOMI6_TEST_RECORDING="$work/heard.raw" QT_QPA_PLATFORM=offscreen "$test_binary" "$@"
