#!/usr/bin/env bash
# The main window's title as the window system shows it (a real window on a virtual X server):
# the program's title and the active document's, once, with nothing added, whether the document
# window is maximized or not.
#   editor_title_x11.sh YOMI6
set -u
yomi6=$(realpath "$1")
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (tools/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
editor_pid=""
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1
failures=0
passes=0
check() { # name, condition
  if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

mkdir -m 700 runtime
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PULSE_SERVER="unix:$work/no-sound-server"
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
for _ in $(seq 1 50); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done

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

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
