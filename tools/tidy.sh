#!/usr/bin/env bash
# The static analysis gate: clang-tidy with the repository's .clang-tidy, warnings as errors, on
# the C++ files changed since BASE (committed or not), reporting only what lies in those files.
#   tools/tidy.sh [BASE]
# BASE defaults as tools/changed.sh says: the merge base with origin/main, else HEAD~1.
# A changed header is analysed through its own .cpp, else through a file that includes it.
# Uses build/compile_commands.json (YOMI6_BUILD_DIR names another build); build first.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$(pwd)
build=${YOMI6_BUILD_DIR:-build}
jobs=${YOMI6_TIDY_JOBS:-$(nproc)}

if ! command -v clang-tidy >/dev/null; then
  echo "tidy: clang-tidy is not installed (tools/install-deps.sh installs it)" >&2
  exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy: $build/compile_commands.json is missing: build first (tools/build.sh)" >&2
  exit 2
fi

base=$(tools/changed.sh --base "$@") || exit 2
short=$(git rev-parse --short "$base")
mapfile -t changed < <(tools/changed.sh "$base")
if [ ${#changed[@]} -eq 0 ]; then
  echo "tidy: no C++ file changed since $short"
  exit 0
fi

# The translation units of this build, and for each changed file the one to analyse.
mapfile -t units < <(python3 -c 'import json, sys
for entry in json.load(open(sys.argv[1])):
    print(entry["file"])' "$build/compile_commands.json" | sort -u)
declare -A in_build=()
for unit in "${units[@]}"; do in_build[$unit]=1; done
declare -A chosen=()
skipped=()
for file in "${changed[@]}"; do
  path="$root/$file"
  unit=""
  case $file in
  *.cpp) [ -n "${in_build[$path]:-}" ] && unit=$path ;;
  *.h)
    if [ -n "${in_build[${path%.h}.cpp]:-}" ]; then
      unit=${path%.h}.cpp
    else
      name=$(basename "$file")
      for candidate in "${units[@]}"; do
        case $candidate in "$root"/*) ;; *) continue ;; esac
        if grep -qE "^#include [\"<]([^\">]*/)?${name//./\\.}[\">]" "$candidate"; then
          unit=$candidate
          break
        fi
      done
    fi
    ;;
  esac
  if [ -n "$unit" ]; then
    chosen[$unit]=1
  else
    skipped+=("$file")
  fi
done
for file in "${skipped[@]}"; do
  echo "tidy: $file is not compiled in $build/ (skipped)"
done
[ ${#chosen[@]} -eq 0 ] && { echo "tidy: nothing of the change is compiled in $build/"; exit 0; }

# Only diagnostics inside the changed files count: an unchanged header that a unit includes
# is not this change's to fix.
filter=$(printf '{"name":"%s"},' "${changed[@]}")
filter="[${filter%,}]"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# shellcheck disable=SC2016 # the inner sh expands its own arguments
printf '%s\n' "${!chosen[@]}" | sort |
  xargs -P "$jobs" -I{} sh -c 'clang-tidy -p "$1" --quiet --warnings-as-errors="*" \
    --line-filter="$2" "$3" >"$4/$(basename "$3").log" 2>&1 || echo "$3" >>"$4/failed"' \
    sh "$build" "$filter" {} "$out"

if [ ! -s "$out/failed" ]; then
  echo "tidy: ${#chosen[@]} files analysed (changes since $short), no findings"
  exit 0
fi
while read -r unit; do
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing' \
    "$out/$(basename "$unit").log"
done <"$out/failed"
echo "tidy: findings in $(wc -l <"$out/failed") of ${#chosen[@]} files analysed (changes since $short)"
exit 1
