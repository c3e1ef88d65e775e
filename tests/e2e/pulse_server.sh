# shellcheck shell=bash
# A private PulseAudio server with one null sink named "test", for scripts that play through
# the sound output and record what was heard. Source this file, then:
#   start_pulse DIR   starts the server with its runtime files under DIR and points this shell's
#                     clients at it (never at a server of the user's)
#   record_start FILE records the sink's monitor into FILE (signed 16-bit mono 44100 Hz, raw)
#   record_stop [S]   stops the recording, after letting the last frames through for S seconds
#                     (default 0.3)
#   stop_pulse        stops the server
# Each function returns non-zero, with a line on stderr, when its part fails.

pulse_pid=""
record_pid=""

start_pulse() {
  local dir=$1
  mkdir -p "$dir/pulse" "$dir/home"
  # The server and its clients look for their sockets, cookies and configuration here only.
  export XDG_RUNTIME_DIR=$dir PULSE_RUNTIME_PATH=$dir/pulse HOME=$dir/home
  export PULSE_SERVER=unix:$dir/pulse/native
  unset PULSE_SINK PULSE_SOURCE
  # -n: no default configuration script, so only the null sink and the socket are loaded.
  # As root the server warns that it is meant for a user session and runs anyway.
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=test" --load=module-native-protocol-unix \
    >"$dir/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 1 100); do
    if pactl info >/dev/null 2>&1; then
      pactl set-default-sink test
      return 0
    fi
    if ! kill -0 "$pulse_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "pulse_server.sh: the sound server did not start:" >&2
  cat "$dir/pulse.log" >&2
  return 1
}

record_start() {
  # A short latency, so that the sink renders in small blocks and takes a new stream at once.
  parec -d test.monitor --format=s16le --rate=44100 --channels=1 --raw --latency-msec=10 \
    >"$1" &
  record_pid=$!
  for _ in $(seq 1 100); do
    if [ -n "$(pactl list short source-outputs 2>/dev/null)" ]; then
      return 0
    fi
    sleep 0.05
  done
  echo "pulse_server.sh: the recorder did not connect" >&2
  return 1
}

record_stop() {
  sleep "${1:-0.3}"
  if [ -n "$record_pid" ]; then
    kill -INT "$record_pid" 2>/dev/null
    wait "$record_pid" 2>/dev/null
    record_pid=""
  fi
}

stop_pulse() {
  record_stop
  if [ -n "$pulse_pid" ]; then
    kill "$pulse_pid" 2>/dev/null
    wait "$pulse_pid" 2>/dev/null
    pulse_pid=""
  fi
}
