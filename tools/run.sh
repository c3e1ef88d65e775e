#!/usr/bin/env bash
# Installs what is missing, builds the editor (only the program: tools/test.sh builds the tests
# and benchmarks), and opens it (arguments go to yomi6).
#
# The editor keeps its dictionary file Yomi6.dic in the folder it runs in. Run from the
# checkout, it would leave that file (the user's own words) among the sources, and a fresh
# clone would start with another dictionary; so it runs in the user's data folder, beside the
# voices, where an installed yomi6 started from there finds the same words. File names given
# as arguments are taken relative to the folder this script was called from, as usual.
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
"$checkout/tools/install-deps.sh"
"$checkout/tools/build.sh" yomi6

data="${XDG_DATA_HOME:-$HOME/.local/share}/yomi6"
mkdir -p "$data"

# An argument names a file when it is not an option and exists, or looks like a path (a slash
# or an extension) without being a number such as the value of --speed; after -- every argument
# is a file.
args=()
files_only=false
for arg in "$@"; do
  if [[ $files_only == true ||
    ($arg != -* && ! $arg =~ ^[0-9.]+$ && (-e $arg || $arg == */* || $arg == *.*)) ]]; then
    arg=$(realpath -m -- "$arg")
  elif [[ $arg == -- ]]; then
    files_only=true
  fi
  args+=("$arg")
done
if [ ! -e "$data/Yomi6.dic" ]; then
  if [ -e "$checkout/Yomi6.dic" ]; then
    # Left there by an earlier version of this script: the words go along.
    mv -- "$checkout/Yomi6.dic" "$data/Yomi6.dic"
    echo "run.sh: moved the dictionary Yomi6.dic from the checkout to $data" >&2
  else
    echo "run.sh: the dictionary Yomi6.dic is kept in $data" >&2
  fi
fi
cd "$data"
exec "$checkout/build/src/yomi6" ${args[@]+"${args[@]}"}
