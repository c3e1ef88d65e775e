#!/usr/bin/env bash
# The main window's title as the window system shows it (a real window on a virtual X server):
# the program's title and the active document's, once, with nothing added, whether the document
# window is maximized or not.
#   editor_title_x11.sh YOMI6
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
require_tools Xvfb xdotool
# shellcheck source=editor_setup.sh
. "$(dirname "$(realpath "$0")")/editor_setup.sh"
editor_setup none

title_of_editor() { # settings lines for the settings file
  mkdir -p "$XDG_CONFIG_HOME"
  printf '%s' "$1" | iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini"
  "$yomi6" u.txt >editor.out 2>>editor.err &
  editor_pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name 'よみあげPad' | head -n 1)
  [ -n "$window" ] && sleep 0.5 && xdotool getwindowname "$window"
  kill "$editor_pid" 2>/dev/null
  wait "$editor_pid" 2>/dev/null
  editor_pid=""
}

echo text >u.txt
# The document window maximized (the first run's way), then shown normally.
maximized=$(title_of_editor $'[よみあげPadのセッティング]\r\n子ウィンドウのサイズ=3\r\n')
check "maximized document: title is exactly 'よみあげPad Ver6.0 - u.txt' (was '$maximized')" \
  '[ "$maximized" = "よみあげPad Ver6.0 - u.txt" ]'
normal=$(title_of_editor $'[よみあげPadのセッティング]\r\n子ウィンドウのサイズ=1\r\n')
check "normal document: title is exactly 'よみあげPad Ver6.0 - u.txt' (was '$normal')" \
  '[ "$normal" = "よみあげPad Ver6.0 - u.txt" ]'
check "nothing on stderr ($(head -c 300 editor.err))" '[ ! -s editor.err ]'

checks_done
