# shellcheck shell=bash
# Busy loops beside a measurement, to see what a loaded machine does to its figures. Sourced.
#   start_busy N   starts N loops that each keep one core busy
#   stop_busy      ends them (safe to call twice, and from an exit trap)
busy_pids=()

start_busy() {
  local _
  for _ in $(seq 1 "$1"); do
    yes >/dev/null &
    busy_pids+=($!)
  done
}

stop_busy() {
  local pid
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  busy_pids=()
}
