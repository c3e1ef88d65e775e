#!/usr/bin/env bash
# The C++ layout gate: clang-format with the repository's .clang-format.
#   tools/format.sh [FILE...]         lists each file clang-format would change; status 1 if any
#   tools/format.sh --fix [FILE...]   rewrites those files in place
# Without FILE: every C++ file tracked in src/, tests/, bench/ and fuzz/.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

fix=0
if [ "${1:-}" = --fix ]; then
  fix=1
  shift
fi
if ! command -v clang-format >/dev/null; then
  echo "format: clang-format is not installed (tools/install-deps.sh installs it)" >&2
  exit 2
fi

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
fi

existing=()
for file in "${files[@]}"; do
  [ -f "$file" ] && existing+=("$file")
done
files=("${existing[@]}")
[ ${#files[@]} -eq 0 ] && { echo "format: no C++ file to check"; exit 0; }

# One clang-format for all files (a process per file takes minutes on a loaded machine); it
# names each place that differs as FILE:LINE:COLUMN: error: ...
report=$(mktemp)
trap 'rm -f "$report"' EXIT
clang-format --dry-run -Werror "${files[@]}" 2>"$report"
status=$?
mapfile -t unformatted < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*-Wclang-format-violations.*/\1/p' \
  "$report" | sort -u)
if [ $status -ne 0 ] && [ ${#unformatted[@]} -eq 0 ]; then
  cat "$report" >&2
  echo "format: clang-format failed" >&2
  exit 2
fi

if [ ${#unformatted[@]} -eq 0 ]; then
  echo "format: ${#files[@]} files checked, all formatted"
  exit 0
fi
if [ $fix -eq 1 ]; then
  clang-format -i "${unformatted[@]}" || exit 1
  printf 'format: reformatted %s\n' "${unformatted[@]}"
  exit 0
fi
printf 'format: not formatted: %s\n' "${unformatted[@]}"
echo "format: ${#unformatted[@]} of ${#files[@]} files differ from clang-format" \
  "(tools/format.sh --fix FILE... rewrites them)"
exit 1
