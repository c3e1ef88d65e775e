#!/usr/bin/env bash
# The C++ files (src/, tests/, bench/, fuzz/) that a change touches, for the gates.
#   tools/changed.sh [BASE]          each file changed since BASE (since where HEAD left BASE's
#                                    line of history), committed or not, one a line
#   tools/changed.sh --base [BASE]   the commit BASE resolves to
# Without BASE: the merge base of HEAD and origin/main; on main itself, or without that remote
# branch, HEAD~1 (the last commit); in a repository of one commit, the empty tree (all of it).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

print_base=0
if [ "${1:-}" = --base ]; then
  print_base=1
  shift
fi
base=${1:-}
if [ -z "$base" ]; then
  if git rev-parse -q --verify origin/main >/dev/null; then
    base=$(git merge-base HEAD origin/main)
  fi
  if [ -z "$base" ] || [ "$base" = "$(git rev-parse HEAD)" ]; then
    if git rev-parse -q --verify HEAD~1 >/dev/null; then
      base=$(git rev-parse HEAD~1)
    else
      base=$(git hash-object -t tree /dev/null)
    fi
  fi
fi
if ! git rev-parse -q --verify "$base^{tree}" >/dev/null; then
  echo "changed: $base is not a commit" >&2
  exit 2
fi
# A base on another line of history counts from where HEAD left it: what that line did since
# is not this change.
if [ "$(git cat-file -t "$base")" = commit ]; then
  fork=$(git merge-base "$base" HEAD) || {
    echo "changed: $base and HEAD have no common commit" >&2
    exit 2
  }
  base=$fork
fi
if [ $print_base -eq 1 ]; then
  git rev-parse "$base"
  exit 0
fi
git diff --name-only --diff-filter=d "$base" -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
  'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h'
