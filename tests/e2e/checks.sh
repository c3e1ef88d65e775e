# The pass/fail bookkeeping of the end-to-end scripts. Source this file, then:
#   check NAME CONDITION   evaluates CONDITION; counts a pass, or prints "FAIL: NAME"
#   checks_done [LABEL]    prints the counts and returns non-zero when a check failed
#   require_tools TOOL...  ends the script as skipped (status 77) when a tool is not installed
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
