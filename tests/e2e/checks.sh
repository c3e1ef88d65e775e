# The pass/fail bookkeeping of the end-to-end scripts. Source this file, then:
#   check NAME CONDITION   evaluates CONDITION; counts a pass, or prints "FAIL: NAME"
#   checks_done [LABEL]    prints the counts and returns non-zero when a check failed
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
