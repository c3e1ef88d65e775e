#!/usr/bin/env bash
# Runs a Qt Test program offscreen under a private PulseAudio server, so that its sound goes to
# the server's null sink "test" and the program's player has an output to play into.
#   gui_pulse.sh TEST_PROGRAM [ARGUMENTS...]
set -u
test_binary=$(realpath "$1")
shift
here=$(dirname "$(realpath "$0")")
# shellcheck source=checks.sh
. "$here/checks.sh"
require_tools pulseaudio pactl
# shellcheck source=pulse_server.sh
. "$here/pulse_server.sh"
work=$(mktemp -d)
trap 'stop_pulse; rm -rf "$work"' EXIT
start_pulse "$work" || exit 1
QT_QPA_PLATFORM=offscreen "$test_binary" "$@"
