#!/usr/bin/env bash
# The main window's rectangle across runs under a real window manager (twm, on a virtual X
# server), which puts a frame around the window some time after it is shown: the window opens
# with its frame at the saved rectangle, and closing it saves that same rectangle, so that a
# window left alone keeps its place and size run after run.
#   editor_window_x11.sh YOMI6
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
require_tools Xvfb xdotool xwininfo twm iconv
# shellcheck source=editor_setup.sh
. "$(dirname "$(realpath "$0")")/editor_setup.sh"
twm_pid=""
stop_twm() { [ -n "$twm_pid" ] && kill "$twm_pid" 2>/dev/null; }
editor_setup none stop_twm

# twm places a window where it asks to be, without asking the user; its frame has a title bar.
# Its fonts are the one the X server has built in.
printf '%s\n' 'RandomPlacement' 'UsePPosition "on"' 'TitleFont "fixed"' 'ResizeFont "fixed"' \
  'MenuFont "fixed"' 'IconFont "fixed"' 'IconManagerFont "fixed"' >twmrc
twm -f twmrc >twm.log 2>&1 &
twm_pid=$!
# twm is ready once it has made its own windows under the root window ("0 children" is not yet).
for _ in $(seq 1 100); do
  xwininfo -root -children 2>/dev/null | grep -qE '^ *[1-9][0-9]* child' && break
  sleep 0.1
done

# X1 Y1 X2 Y2 of the settings file, on one line.
saved_rectangle() {
  local key values=()
  for key in X1 Y1 X2 Y2; do
    values+=("$(tr -d '\r' <"$XDG_CONFIG_HOME/yomi6.ini" | sed -n "s/^$key=//p")")
  done
  echo "${values[*]}"
}

# "left top right bottom" of a window as xwininfo gives its outer rectangle.
rectangle_of() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } /Border width:/ { b = $NF }
    END { print x, y, x + w + 2 * b, y + h + 2 * b }'
}

# The window manager's frame around window: its parent below the root.
frame_of() {
  xwininfo -tree -id "$1" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p'
}

# One run: opens the editor, notes its window's frame and inner rectangle once they have
# settled (frame.txt, inner.txt), and closes it through its menu (ﾌｧｲﾙ, 終了).
run_editor() {
  "$yomi6" >>editor.out 2>>editor.err &
  editor_pid=$!
  local window frame now before=""
  window=$(timeout 20 xdotool search --sync --onlyvisible --name 'よみあげPad' | head -n 1)
  [ -n "$window" ] || return 1
  local root
  root=$(xwininfo -root | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
  # Settled: framed (its parent is no longer the root window) and the same twice, 200 ms apart.
  for _ in $(seq 1 50); do
    sleep 0.2
    frame=$(frame_of "$window")
    now="$(rectangle_of "$frame") / $(rectangle_of "$window")"
    [ "$frame" != "$root" ] && [ "$now" = "$before" ] && break
    before=$now
  done
  rectangle_of "$frame" >frame.txt
  rectangle_of "$window" >inner.txt
  xdotool mousemove --window "$window" 200 10 windowfocus --sync "$window" key alt+f
  sleep 0.3
  xdotool key x
  for _ in $(seq 1 100); do
    kill -0 "$editor_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$editor_pid" 2>/dev/null && echo "the editor did not close through its menu" >>editor.err
  wait "$editor_pid" 2>/dev/null
  editor_pid=""
}

# 640 by 480 with its frame, away from the screen's edges.
start="100 60 740 540"
mkdir -p "$XDG_CONFIG_HOME"
printf '[よみあげPadのセッティング]\r\n子ウィンドウのサイズ=1\r\nX1=100\r\nY1=60\r\nX2=740\r\nY2=540\r\n' |
  iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini"
for run in 1 2 3; do
  run_editor
  read -r fl ft fr fb <frame.txt
  read -r il it ir ib <inner.txt
  check "run $run: the window manager framed the window (frame $fl $ft $fr $fb, inside $il $it $ir $ib)" \
    '[ "$((fr - fl))" -gt "$((ir - il))" ] && [ "$((fb - ft))" -gt "$((ib - it))" ]'
  check "run $run: the window opens with its frame at $start (was $fl $ft $fr $fb)" \
    '[ "$fl $ft $fr $fb" = "$start" ]'
  saved=$(saved_rectangle)
  check "run $run: closing saves the same rectangle $start (was $saved)" '[ "$saved" = "$start" ]'
done
check "nothing on stderr ($(head -c 300 editor.err))" '[ ! -s editor.err ]'

checks_done
