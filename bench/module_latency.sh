#!/usr/bin/env bash
# Runs module_latency.py with a private PulseAudio null sink and a private speech-dispatcher
# that loads the module from the build:  bench/module_latency.sh build/src/sd_yomi6 [RUNS]
set -u
module=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
server_pid=""
# shellcheck source=../tests/e2e/pulse_server.sh
source "$here/../tests/e2e/pulse_server.sh"
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
  stop_pulse
  rm -rf "$tmp"
}
trap cleanup EXIT
start_pulse "$tmp" || exit 1
mkdir -p "$tmp/conf/modules" "$tmp/log"
cp "$here/../resources/speech-dispatcher/yomi6.conf" "$tmp/conf/modules/"
printf 'AudioOutputMethod "pulse"\nAddModule "yomi6" "%s" "yomi6.conf"\nDefaultModule yomi6\n' \
  "$module" >"$tmp/conf/speechd.conf"
speech-dispatcher -s -t 0 -C "$tmp/conf" -c unix_socket -S "$tmp/sock" -P "$tmp/sd.pid" \
  -L "$tmp/log" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  [ -S "$tmp/sock" ] && break
  sleep 0.1
done
export SPEECHD_ADDRESS="unix_socket:$tmp/sock"
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3
timeout 600 "$py" "$here/module_latency.py" "$module" "${2:-5}"
