# shellcheck shell=bash
# A private virtual X server for scripts that drive a real window. Source this file, then:
#   start_xvfb DIR [SCREEN]
#                    starts the server on a display number it finds free itself (so that scripts
#                    running side by side never race for one), its screen SCREEN (default
#                    1024x768x24), writes its log under DIR, and points this shell's programs at
#                    it (DISPLAY, QT_QPA_PLATFORM=xcb)
#   stop_xvfb        stops the server
# start_xvfb returns non-zero, with the server's log on stderr, when the server does not start.

xvfb_pid=""

start_xvfb() {
  local dir=$1 screen=${2:-1024x768x24} number=""
  mkdir -p "$dir"
  : >"$dir/xvfb.display"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/xvfb.display" \
    >"$dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    # The server writes its display number once it accepts clients.
    number=$(head -n 1 "$dir/xvfb.display")
    [ -n "$number" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "xvfb_server.sh: the virtual X server did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  fi
}
