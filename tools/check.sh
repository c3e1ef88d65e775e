#!/usr/bin/env bash
# The gates a change passes before it is committed; CI runs them after the tests (.ci/run).
#   tools/check.sh [--fix] [BASE]
# 1. format      every C++ file in src/, tests/, bench/, fuzz/ as clang-format lays it out
#                (tools/format.sh); with --fix, the files changed since BASE are rewritten
#                first, and nothing else is touched
# 2. shellcheck  every shell script in tools/, tests/ and .ci/ (tools/shellcheck.sh)
# 3. clang-tidy  the checks of .clang-tidy, warnings as errors, on the C++ files changed since
#                BASE (tools/tidy.sh); needs a build (tools/build.sh)
# 4. layering    the folders include one another one way only, the core no Qt
#                (tools/check_layers.py)
# BASE defaults to the merge base with origin/main, else HEAD~1 (tools/changed.sh); a worktree
# of a branch of a local main passes main. Every gate runs even when an earlier one fails; the
# status is 1 when any failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

fix=0
if [ "${1:-}" = --fix ]; then
  fix=1
  shift
fi
base=${1:-}

failed=()
gate() { # name, command...
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    failed+=("$name")
  fi
}

if [ $fix -eq 1 ]; then
  mapfile -t touched < <(tools/changed.sh ${base:+"$base"})
  if [ ${#touched[@]} -gt 0 ]; then
    gate "format --fix" tools/format.sh --fix "${touched[@]}"
  fi
fi
gate format tools/format.sh
gate shellcheck tools/shellcheck.sh
gate clang-tidy tools/tidy.sh ${base:+"$base"}
gate layering python3 tools/check_layers.py src

if [ ${#failed[@]} -gt 0 ]; then
  echo "check: failed: ${failed[*]}"
  exit 1
fi
echo "check: every gate passed"
