#!/usr/bin/env bash
# The shell script gate: shellcheck over every script in tools/, tests/ and .ci/ (each *.sh,
# and each file without an extension whose first line is a sh or bash shebang), following the
# helpers they source. Settings and their reasons: .shellcheckrc, tests/e2e/.shellcheckrc.
#   tools/shellcheck.sh [FILE...]    status 1 when shellcheck finds anything
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

if ! command -v shellcheck >/dev/null; then
  echo "shellcheck: shellcheck is not installed (tools/install-deps.sh installs it)" >&2
  exit 2
fi

scripts=("$@")
if [ ${#scripts[@]} -eq 0 ]; then
  while IFS= read -r file; do
    case $file in
    *.sh) scripts+=("$file") ;;
    */*.*) ;;
    *) head -n 1 "$file" | grep -qE '^#!.*[/ ](ba)?sh( |$)' && scripts+=("$file") ;;
    esac
  done < <(git ls-files -- tools tests .ci)
fi
if [ ${#scripts[@]} -eq 0 ]; then
  echo "shellcheck: no script to check"
  exit 0
fi

if shellcheck --external-sources --format=gcc "${scripts[@]}"; then
  echo "shellcheck: ${#scripts[@]} scripts checked, no findings"
  exit 0
fi
echo "shellcheck: findings above (https://www.shellcheck.net/wiki/SCNNNN explains each)"
exit 1
