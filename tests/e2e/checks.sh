# shellcheck shell=bash
# The pass/fail bookkeeping of the end-to-end scripts. Source this file, then:
#   check NAME CONDITION   evaluates CONDITION; counts a pass, or prints "FAIL: NAME"
#   checks_done [LABEL]    prints the counts and returns non-zero when a check failed
#   require_tools TOOL...  ends the script as skipped (status 77) when a tool is not installed
#   enter_scratch_folder [CLEANUP]
#                          makes a temporary folder $work, removed when the script exits (kept
#                          for inspection with KEEP=1), the working directory and the settings
#                          folder's parent (XDG_CONFIG_HOME). CLEANUP, a command, runs at the
#                          exit before the folder goes: it ends what the script started there
#                          (servers, a mount) or gives back the permissions it took away
#   choose_dictionary_reading  writes a settings file under $XDG_CONFIG_HOME that chooses the
#                          dictionary reading (読み方=0), for checks that pin its bytes: without
#                          the key yomi6 reads automatically when the analyzer can be loaded
# shellcheck disable=SC2034 # the counts are read by the sourcing script's own reports too
failures=0
passes=0

check() { # name, condition
  if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

checks_done() {
  echo "${1:+$1: }$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (tools/install-deps.sh installs it)"
      exit 77
    fi
  done
}

enter_scratch_folder() {
  # Without the folder a script would work, and clean up, wherever it was started.
  work=$(mktemp -d) || { echo "FAIL: no scratch folder"; exit 1; }
  scratch_cleanup=${1:-:}
  trap 'eval "$scratch_cleanup"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
  cd "$work" || exit 1
  export XDG_CONFIG_HOME="$work/config"
}

choose_dictionary_reading() {
  mkdir -p "$XDG_CONFIG_HOME"
  # [よみあげPadのセッティング] 読み方=0, in code page 932
  printf '[\x82\xe6\x82\xdd\x82\xa0\x82\xb0Pad\x82\xcc\x83\x5a\x83\x62\x83\x65\x83\x42\x83\x93\x83\x4f]\r\n\x93\xc7\x82\xdd\x95\xfb=0\r\n' \
    >"$XDG_CONFIG_HOME/yomi6.ini"
}
