# shellcheck shell=bash
# What the scripts of yomi6 --speak through a sound server share. Source this file after
# checks.sh, then:
#   speak_setup TOOL...     ends the script as skipped unless pulseaudio, pactl, parec and each
#                           TOOL are installed; loads pulse_server.sh; makes the scratch folder
#                           $work (left for inspection with KEEP=1) and enters it, the server
#                           stopped and the folder removed when the script exits; and gives the
#                           run a settings folder of its own ($XDG_CONFIG_HOME), so that the
#                           user's settings never choose the voice or speed
#   speak_without_server YOMI6 OUT ERR ARG...
#                           runs YOMI6 ARG... (a --speak) with no sound server to reach (within 120
#                           s), its output in OUT and ERR; sets status and elapsed_ms

speak_setup() {
  require_tools pulseaudio pactl parec "$@"
  # shellcheck source=pulse_server.sh
  . "$(dirname "${BASH_SOURCE[0]}")/pulse_server.sh"
  enter_scratch_folder stop_pulse
}

speak_without_server() {
  local yomi6=$1 out=$2 err=$3 started
  shift 3
  # shellcheck disable=SC2154 # $work is the scratch folder speak_setup made (checks.sh)
  export PULSE_SERVER=unix:$work/nowhere
  started=$(date +%s%N)
  timeout 120 "$yomi6" "$@" >"$out" 2>"$err"
  # shellcheck disable=SC2034 # status and elapsed_ms are for the sourcing script
  status=$?
  # shellcheck disable=SC2034
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
}
