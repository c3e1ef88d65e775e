#!/usr/bin/env bash
# A sound server that accepts the connection and never answers (a stopped server, a dead
# socket) must not hold the program: the editor paints its first window at once and exits at
# once, --speak keeps its few seconds' limit before it speaks in silence, and each says once
# that there is no sound output, with none of the sound backend's own lines on stderr.
#   sound_server_hung.sh YOMI6
# The times are bounded generously (the machine may be loaded); the server's own timeout, which
# held the program before, is about 30 s.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
require_tools python3 iconv

server_pid=""
stop_server() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; }
enter_scratch_folder stop_server
elapsed_ms() { # start in ns
  echo $(( ($(date +%s%N) - $1) / 1000000 ))
}

# Stand-in for a hung sound server: it listens where the server's socket would be, accepts
# every connection and never sends a byte.
mkdir -p server home config
cat >server/hung_server.py <<'PY'
import os, socket, sys
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(sys.argv[1])
listener.listen(64)
open(sys.argv[2], "w").close()
held = []
while True:
    connection, _ = listener.accept()
    held.append(connection)
PY
python3 server/hung_server.py "$work/server/native" "$work/server/listening" &
server_pid=$!
for _ in $(seq 1 100); do
  [ -e server/listening ] && break
  sleep 0.05
done
check "the stand-in server listens" '[ -e server/listening ]'
export PULSE_SERVER="unix:$work/server/native" HOME="$work/home" XDG_RUNTIME_DIR="$work"
export QT_QPA_PLATFORM=offscreen
unset PULSE_SINK PULSE_SOURCE

printf '%s' 'あいうえおかきくけこ' | iconv -f UTF-8 -t CP932 >kana.txt

# The editor: its first paint, and its end right after.
start=$(date +%s%N)
YOMI6_EXIT_AFTER_FIRST_PAINT=1 timeout 60 "$yomi6" kana.txt >editor.out 2>editor.err
status=$?
ms=$(elapsed_ms "$start")
echo "editor: first paint and exit in $ms ms"
check "editor: exit status 0 (was $status)" "[ $status -eq 0 ]"
check "editor: painted and ended within 10 s (took $ms ms)" "[ $ms -lt 10000 ]"
# (The offscreen platform has a note of its own on stderr; only the sound backend's are at issue.)
check "editor: no sound backend line on stderr ($(head -c 300 editor.err))" \
  '! grep -qiE "pulse|audio|stream|pa_" editor.err'

# --speak: ten kana at 60 ms after at most a few seconds' wait for the output.
start=$(date +%s%N)
timeout 60 "$yomi6" --speak kana.txt --speed 60 >speak.out 2>speak.err
status=$?
ms=$(elapsed_ms "$start")
echo "--speak: done in $ms ms"
check "--speak: exit status 0 (was $status)" "[ $status -eq 0 ]"
check "--speak: done within 8 s (took $ms ms)" "[ $ms -lt 8000 ]"
check "--speak: the pass took its time in silence (took $ms ms)" "[ $ms -ge 600 ]"
check "--speak: one line on stderr saying there is no sound output ($(head -c 300 speak.err))" \
  '[ "$(wc -l <speak.err)" -eq 1 ] && grep -q "sound output" speak.err'
check "--speak: nothing on stdout" '[ ! -s speak.out ]'

checks_done
