#!/usr/bin/env bash
# Runs the recorder test under a private PulseAudio server whose default input is the monitor of
# its null sink "test" (through a remapped source), so that what the test plays into the sink is what the recorder hears.
#   recorder_pulse.sh RECORDER_TEST
set -u
test_binary=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
require_tools pulseaudio pactl paplay
# shellcheck source=pulse_server.sh
. "$here/pulse_server.sh"
enter_scratch_folder stop_pulse
start_pulse "$work" || exit 1
# The sound backend lists no monitor sources as inputs: a remapped source over the monitor is an
# ordinary input that hears the same.
pactl load-module module-remap-source master=test.monitor source_name=testmic >/dev/null || exit 1
pactl set-default-source testmic || exit 1
QT_QPA_PLATFORM=offscreen "$test_binary"
