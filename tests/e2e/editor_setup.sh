# shellcheck shell=bash
# What the scripts that drive the editor's real window on a virtual X server share. Source this
# file after checks.sh, then:
#   editor_setup SOUND [CLEANUP]
#                 loads pulse_server.sh and xvfb_server.sh; makes the scratch folder $work and
#                 enters it (enter_scratch_folder); with SOUND "pulse" starts a private sound
#                 server whose null sink the editor plays into, with "none" gives the editor no
#                 sound server to reach and a runtime folder of its own; starts the X server.
#                 When the script exits, CLEANUP (a command) runs, the editor ($editor_pid) is
#                 ended and the servers stop.
#   open_editor YOMI6 FILE
#                 starts YOMI6 on FILE (its output in editor.out and editor.err) as $editor_pid,
#                 checks that its window appears within 20 s, and makes that window, $window,
#                 the active one

editor_pid=""

editor_setup() {
  local sound=$1
  # shellcheck source=pulse_server.sh
  . "$(dirname "${BASH_SOURCE[0]}")/pulse_server.sh"
  # shellcheck source=xvfb_server.sh
  . "$(dirname "${BASH_SOURCE[0]}")/xvfb_server.sh"
  editor_cleanup=${2:-:}
  enter_scratch_folder stop_editor_and_servers
  # shellcheck disable=SC2154 # $work is the scratch folder just made (checks.sh)
  if [ "$sound" = pulse ]; then
    start_pulse "$work/server" || exit 1
    chmod 700 "$work/server"
  else
    mkdir -m 700 runtime
    export XDG_RUNTIME_DIR="$work/runtime" PULSE_SERVER="unix:$work/no-sound-server"
  fi
  start_xvfb "$work/x" || exit 1
}

stop_editor_and_servers() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  eval "$editor_cleanup"
  # (stop_pulse lets a recording's last frames through first: only where there is a server.)
  [ -n "$pulse_pid" ] && stop_pulse
  stop_xvfb
}

open_editor() {
  "$1" "$2" >editor.out 2>editor.err &
  editor_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name 'よみあげPad' | head -n 1)
  check "the editor's window appears" '[ -n "$window" ]'
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
}
