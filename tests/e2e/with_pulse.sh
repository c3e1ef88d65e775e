#!/usr/bin/env bash
# Runs a test program with a private PulseAudio server (one null sink) and records everything
# the sink plays from before the program starts to after it ends, so that a Qt test on real
# widgets can check what was heard: the recording's path is in YOMI6_TEST_RECORDING (signed
# 16-bit mono 44100 Hz, raw), growing while the program runs.
#   with_pulse.sh PROGRAM [ARGS...]
set -u
here=$(dirname "$(realpath "$0")")
program=$(realpath "$1")
shift
for tool in pulseaudio pactl parec; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done
# shellcheck source=pulse_server.sh
. "$here/pulse_server.sh"
work=$(mktemp -d)
# shellcheck disable=SC2317 # called by the trap below
cleanup() {
  stop_pulse
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
start_pulse "$work/server" || exit 1
chmod 700 "$work/server"
record_start "$work/heard.raw" || exit 1
export YOMI6_TEST_RECORDING="$work/heard.raw" QT_QPA_PLATFORM=offscreen
"$program" "$@"
status=$?
exit "$status"
